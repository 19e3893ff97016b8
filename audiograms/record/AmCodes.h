#pragma once
// The Audiogram Manager's value codes and what they become in an audiogram record.
// The clinic's database has its own numbering for methods, tympanograms, speech
// materials and chart symbols; every conversion is a table here.

#include <QString>

class CAudPoint;

namespace quorin::am {

// Test method: 0 Conventional, 1 CPA - Traditional, 2 VRA, 3 CPA - Computer; -1 otherwise.
int Method(int code);
// Tympanogram of one ear; -1 for a code the clinic never uses.
int Tymp(int code);
// The clinic writes -1 for "not measured"; the record's empty value is -999.
float EtfRelease(float value);
// Type of loss of one ear: the first set flag in the order Normal, Conductive,
// Sensorineural, Mixed, Undetermined; -1 when none is set.
int TypeOfLoss(int normal, int conductive, int sensorineural, int mixed, int undetermined);
// Sound field: Normal, else any other flag gives 1, else -1.
int SoundFieldLoss(int normal, int conductive, int sensorineural, int mixed, int undetermined);
// Speech materials text of a code; "" for 0 and for any code outside the table.
QString Materials(int code);
// A speech level above 0 loses the clinic's marker bits 0x100 and 0x1000.
int SpeechLevel(int level);

} // namespace quorin::am

// Turns a point read with the clinic's symbol code into the record's symbol and type,
// and sets xy from x and y.
void MapAmSymbol(CAudPoint& point);
