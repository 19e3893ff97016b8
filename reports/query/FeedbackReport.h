#pragma once
// The Feedback report: what the researchers reported back for one dataset or for all,
// or for the feedback given in a period, with the subjects' contact and participation
// outcomes.

#include <QString>

class CReportList;

namespace quorin {

class CReportQuery;

enum { kFeedbackColumns = 6 };

// The dataset choice that stands for every dataset.
QString FeedbackAllDatasets();

// The outcome texts of the participation codes.
QString ContactOutcome(int contacted);
QString ParticipationOutcome(int participate);

// By dataset: the dataset and its IRB (not for "All"), the feedback counts and, for one
// dataset, its subjects. An empty dataset text adds nothing.
void BuildFeedbackByDataset(CReportQuery& query, CReportList& list, const QString& dataset);

// By feedback date: the counts and the subjects whose feedback falls between From and
// To, of the dataset or, for "All", of every dataset.
void BuildFeedbackByDate(CReportQuery& query, CReportList& list, const QString& dataset, const QString& from,
                         const QString& to);

} // namespace quorin
