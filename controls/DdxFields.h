#pragma once
// Exchange of typed numbers and dates between edit controls and records, with the
// program's checks and empty values: -1 for whole numbers, -999.0 for measured reals,
// "" for dates ("NA" is stored as "01/01/1901", a date that does not apply).
//
// The checks are for what the user types. A field whose text is still the one it was
// filled with hands back the value it was filled with, exactly: a stored value (a
// clinic's -5, a number longer than nine digits) never blocks a hand-over and never
// changes on the way back. Empty and -1 are told apart by the text, never by the value:
// an emptied field gives -1, and a typed "-1", which once stored could not be told from
// an empty field, is refused.

#include "framework/DataExchange.h"

#include <QString>

// Digits only, as typed.
void DDX_IntField(CDataExchange* pDX, int id, int& value);
// A hearing level in dB HL (threshold, SRT, SAT, speech level): a leading minus may be
// typed, as levels go down to -10.
void DDX_LevelField(CDataExchange* pDX, int id, int& value);
void DDX_FloatField(CDataExchange* pDX, int id, float& value);
void DDX_DateField(CDataExchange* pDX, int id, QString& value);
// A text of at most maxChars characters as the user types it. A longer text the field
// was filled with (a clinic's comment) is handed back as long as it has not grown.
void DDX_LimitedText(CDataExchange* pDX, int id, QString& value, int maxChars);
