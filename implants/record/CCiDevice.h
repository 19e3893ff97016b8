#pragma once
// One implanted cochlear-implant device.

#include <QString>

class CCiDevice {
public:
    QString Ear;
    QString Device;
    QString Positioner;
    QString SurgDate;
    int AgeAtImplant = -1; // months
    QString StimDate;
    QString Status;
    QString Surgeon;
    QString Hospital;
    QString ExplantDate;
};
