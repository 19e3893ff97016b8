#pragma once
// The standard exchanges the forms use: texts, numbers, list and combo selections,
// check boxes, radio groups, and the range and length checks.

#include "framework/DataExchange.h"

#include <QString>

void DDX_Text(CDataExchange* pDX, int id, QString& value);
void DDX_Text(CDataExchange* pDX, int id, int& value);
void DDX_Text(CDataExchange* pDX, int id, double& value);

// Combo box: index of the selection (-1 none), and its text.
void DDX_CBIndex(CDataExchange* pDX, int id, int& index);
void DDX_CBString(CDataExchange* pDX, int id, QString& value);

// List box: index of the selection (-1 none).
void DDX_LBIndex(CDataExchange* pDX, int id, int& index);

// Check box: 0 unchecked, 1 checked, 2 indeterminate.
void DDX_Check(CDataExchange* pDX, int id, int& value);

// Radio group starting at the first button's id: index of the checked one, -1 none.
void DDX_Radio(CDataExchange* pDX, int firstId, int& value);

// Checks run after the exchange of the same control, on saving only.
void DDV_MaxChars(CDataExchange* pDX, const QString& value, int maxChars);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minValue, int maxValue);
void DDV_MinMaxDouble(CDataExchange* pDX, double value, double minValue, double maxValue);
