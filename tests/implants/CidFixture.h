#pragma once
// A registry with CID patients made per test: the CID rows go in with raw SQLite, as
// nothing in the program writes CID. And the implant records as lists of their fields,
// to compare whole.

#include "app/DocumentFixture.h"

#include <string>

namespace quorin::test {

inline QStringList HistoryFields(const CCiData& c)
{
    QStringList out = {c.DegreePriorL, c.DegreePriorR, c.NatureL, c.NatureR, c.EtiologyL, c.EtiologyR, c.Processor1,
                       c.Processor2};
    for (int n : {c.HasCiData, c.DurationPriorL, c.DurationPriorR, c.HaL, c.HaR, c.HaTimeL, c.HaTimeR, c.DurationUnaidedL,
                  c.DurationUnaidedR})
        out << QString::number(n);
    return out;
}

inline QStringList DeviceFields(const CCiDevice& d)
{
    return {d.Ear, d.Device, d.Positioner, d.SurgDate, QString::number(d.AgeAtImplant), d.StimDate, d.Status, d.Surgeon,
            d.Hospital, d.ExplantDate};
}

inline QStringList SpeechFields(const CCiSpeech& s)
{
    return {QString::number(s.Index), s.DataType, s.TestType, s.TestName, s.Condition,
            QString::number(s.Score, 'f', 2), QString::number(s.TimeIS)};
}

class CidTest : public DocumentTest {
protected:
    // A CID patient with every column its own value (derived from `tag`); returns its id.
    int AddCidPatient(const std::string& last, const std::string& first, const std::string& unit, int tag = 1);
    void AddDevice(int patientId, const std::string& ear, const std::string& device, const std::string& surgery);
    // A patient with two devices, three fittings and three speech rows.
    int AddFullCidPatient(const std::string& last, const std::string& first, const std::string& unit, int tag = 1);

    // A stored registry subject with hearing status "Cochlear Implant".
    int StoreImplantSubject(const QString& last, const QString& unit);
    // Everything the registry holds of a subject's implant data.
    std::string ImplantRows(int subjectId) const;
};

} // namespace quorin::test
