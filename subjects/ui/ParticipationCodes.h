#pragma once
// The short words the participation list shows for the stored codes of a row. The
// index of each drop-down list on the Other tab is the stored number; -1 means no
// choice.

#include <QString>

namespace quorin {

enum class ParticipationField { Contacted, Participated, Completed, Appts, Show, CallAgain };

QString ParticipationCodeText(ParticipationField field, int code);

} // namespace quorin
