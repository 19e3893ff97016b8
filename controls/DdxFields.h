#pragma once
// Exchange of typed numbers and dates between edit controls and records, with the
// program's checks and empty values: -1 for whole numbers, -999.0 for measured reals,
// "" for dates ("NA" is stored as "01/01/1901", a date that does not apply).

#include "framework/DataExchange.h"

#include <QString>

void DDX_IntField(CDataExchange* pDX, int id, int& value);
void DDX_FloatField(CDataExchange* pDX, int id, float& value);
void DDX_DateField(CDataExchange* pDX, int id, QString& value);
