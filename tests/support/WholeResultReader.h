#pragma once
// A session whose whole results can be read, as quorin-sql reads them: every result of a
// batch, its columns, rows and counts.

#include "dalport/MyADO.h"

class WholeResultReader : public MyADO {
public:
    using MyADO::GetColumnNames;
    using MyADO::GetFieldValue;
    using MyADO::GetResultCount;
    using MyADO::GetRowsAffected;
    using MyADO::SelectResult;
};
