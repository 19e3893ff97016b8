#pragma once
// Adding, editing and deleting the subject's implanted devices and cochlear-implant
// speech rows, the texts the CI Data lists show for them, and the age at implant. The
// tab only picks the row and runs the dialog; everything that touches the document is
// here. A row is named by its record's position in the document's list: rows added
// since the last save all have Index -1, and two devices of one ear and model are
// common, so neither the hidden Index nor the row's texts tell records apart.

#include "implants/record/CCiDevice.h"
#include "implants/record/CCiSpeech.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <functional>
#include <optional>

class CQuorinDoc;

namespace quorin {

// Shows the record in its dialog for the user to change; true on OK, with the record
// holding what was typed.
using CiSpeechEditor = std::function<bool(CCiSpeech& row)>;
using CiDeviceEditor = std::function<bool(CCiDevice& device)>;

inline const QString kPreImplant = QStringLiteral("Pre Implant");
inline const QString kPostImplant = QStringLiteral("Post Implant");

// The pre-implant list holds the rows whose DataType is "Pre Implant"; every other row
// is post-implant.
bool IsPreImplant(const CCiSpeech& row);

// "Add" under a speech list: an empty row in the editor; on OK it joins the list as a
// pre- or post-implant row with Index -1 (a pre-implant row keeps TimeIS 0) and the
// subject counts as modified. Returns true when a row was added.
bool AddCiSpeech(CQuorinDoc& doc, bool postImplant, const CiSpeechEditor& editor);

// "Edit" of the record at the position in m_ciSpeechList (none: the selection message).
// On OK the record takes TestName, TestType, Condition, Score and TimeIS. Returns true
// when the record was changed.
bool EditCiSpeech(CQuorinDoc& doc, std::optional<std::size_t> position, const CiSpeechEditor& editor);

// "Delete" of the record at the position (none: the selection message). Returns true
// when it left the list.
bool DeleteCiSpeech(CQuorinDoc& doc, std::optional<std::size_t> position);

// The same three for m_ciData.Devices; a device takes every field of the dialog.
bool AddCiDevice(CQuorinDoc& doc, const CiDeviceEditor& editor);
bool EditCiDevice(CQuorinDoc& doc, std::optional<std::size_t> position, const CiDeviceEditor& editor);
bool DeleteCiDevice(CQuorinDoc& doc, std::optional<std::size_t> position);

// The texts of a speech row: test type, Index, name, condition, score, and for the
// post-implant list the time after initial stimulation.
QStringList CiSpeechRowTexts(const CCiSpeech& row, bool postImplant);
// The ten texts of a device row.
QStringList CiDeviceRowTexts(const CCiDevice& device);

// "5yr,3mo"; empty for a negative (unknown) age.
QString AgeAtImplantText(int months);
// "2yrs 6mos"; empty for a negative (unknown) time.
QString TimeIsText(int months);
// "62.50"; empty for the empty score -999.
QString CiScoreText(float score);

// Whole months from the birth to the surgery. Nothing unless both are real dates (not
// empty, not the database's empty 1/1/1900, not "does not apply" 01/01/1901) and the
// surgery is not before the birth: an age counted from no birth, or round the century,
// would look like a real one.
std::optional<int> AgeAtImplantMonths(const CQuorinDoc& doc, const QString& birth, const QString& surgery);

} // namespace quorin
