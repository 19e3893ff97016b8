#pragma once
// The subject's cochlear-implant history, per ear, with the implanted devices.
// Durations and times are whole months.

#include "implants/record/CCiDevice.h"

#include <QString>
#include <vector>

class CCiData {
public:
    // Numbers and the flag 0, texts empty, no devices.
    void Clear();

    int HasCiData = 0;
    int DurationPriorL = 0;
    int DurationPriorR = 0;
    QString DegreePriorL;
    QString DegreePriorR;
    QString NatureL;
    QString NatureR;
    QString EtiologyL;
    QString EtiologyR;
    QString Processor1;
    QString Processor2;
    int HaL = 0;
    int HaR = 0;
    int HaTimeL = 0;
    int HaTimeR = 0;
    int DurationUnaidedL = 0;
    int DurationUnaidedR = 0;
    std::vector<CCiDevice> Devices; // in load order

    // True when any history field holds a value: such a history is worth storing even
    // without a device.
    bool HasHistoryValues() const;
};
