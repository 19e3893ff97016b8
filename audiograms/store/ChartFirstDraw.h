#pragma once
// What the chart checks when it is first drawn for a subject: enough subject data to
// mean anything, then the lookup of its audiogram (and the offers to import one from
// the Audiogram Manager). The chart runs them just after a paint, once per showing,
// never from inside the paint.

class CQuorinDoc;

namespace quorin {

enum class FirstDrawResult {
    Stopped, // a check failed (and said so), or a page refused to hand over its edits
    Done     // the chart is loaded for this subject
};

FirstDrawResult RunChartFirstDrawChecks(CQuorinDoc& doc);

} // namespace quorin
