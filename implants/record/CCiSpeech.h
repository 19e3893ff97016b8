#pragma once
// One cochlear-implant speech-perception result (table cispeech).

#include <QString>

class CCiSpeech {
public:
    int Index = -1;      // running number in load order; -1 for rows added since
    QString DataType;    // "Pre Implant" or "Post Implant"
    QString TestType;
    QString TestName;
    QString Condition;
    float Score = 0.0f;
    int TimeIS = 0;      // months after initial stimulation
};
