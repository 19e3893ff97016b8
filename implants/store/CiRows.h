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

// Equal value for value (a speech row's running number aside).
bool SameDevice(const CCiDevice& a, const CCiDevice& b);
bool SameSpeechRow(const CCiSpeech& a, const CCiSpeech& b);

} // namespace quorin
