#pragma once
// One speech, language or literacy test.

#include <QString>

class CSpeechTest {
public:
    void Clear() { *this = CSpeechTest{}; }

    int TestId = 0;          // stored key; below 1 until stored
    QString TestName;
    QString TestDate;
    QString AgeAtTest;
    QString TestedBy;
    QString Lab;
    QString Screening;
    QString RawScore;
    QString StandardScore;
    int AgeEquivalent = 0;   // months
    QString Percentile;
    QString SD;
    QString Other;
    QString Comments;
};
