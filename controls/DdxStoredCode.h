#pragma once
// Exchange of a coded drop-down list (the item's position is the stored code) that keeps a
// stored code the list has no item for.

#include "framework/DataExchange.h"

// The list shows a stored code it has no item for (an old code, or one another program
// wrote) as no choice. The user cannot choose "no choice", so a list left that way keeps
// the stored code on saving rather than overwriting it with -1; any chosen item is saved
// as its position, and loading selects the code's item as DDX_CBIndex does.
void DDX_StoredCodeIndex(CDataExchange* pDX, int id, int& code);
