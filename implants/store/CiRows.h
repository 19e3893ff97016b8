#pragma once
// A subject's stored implant devices and speech rows, read as the CI Data tab loads them,
// and whether a typed set is the stored one: a save leaves an unchanged set alone, so the
// change history holds nothing for it.

#include "implants/record/CCiDevice.h"
#include "implants/record/CCiSpeech.h"

#include <vector>

class MyADO;

namespace quorin {

// False when the read failed.
bool ReadCiDevices(MyADO& db, int subjectId, std::vector<CCiDevice>& devices);
bool ReadCiSpeechRows(MyADO& db, int subjectId, std::vector<CCiSpeech>& rows);

// Equal value for value and in the same order (a speech row's running number aside).
bool SameDevices(const std::vector<CCiDevice>& a, const std::vector<CCiDevice>& b);
bool SameSpeechRows(const std::vector<CCiSpeech>& a, const std::vector<CCiSpeech>& b);

} // namespace quorin
