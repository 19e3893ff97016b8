#pragma once
// One subject found by a bulk update command: its key here and in the other database.

#include <QString>

class CSubjectLink {
public:
    int SubjectId = -1;
    QString Unit;          // "%d" of the numeric unit, "" when it is 0
    QString LastTestDate;  // "1/1/1900" when the subject has no audiogram
    int PatientId = -1;
};
