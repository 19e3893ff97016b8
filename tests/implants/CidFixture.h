#pragma once
// A registry with CID patients made per test: the CID rows go in with raw SQLite, as
// nothing in the program writes CID.

#include "app/DocumentFixture.h"

#include <string>

namespace quorin::test {

class CidTest : public DocumentTest {
protected:
    // A CID patient with every column its own value (derived from `tag`); returns its id.
    int AddCidPatient(const std::string& last, const std::string& first, const std::string& unit, int tag = 1);
    void AddFitting(int patientId, const std::string& processor, const std::string& date);
    void AddDevice(int patientId, const std::string& ear, const std::string& device, const std::string& surgery);
    void AddSpeech(int patientId, const std::string& name, double score, int time, int testtype);
    // A patient with two devices, three fittings and three speech rows.
    int AddFullCidPatient(const std::string& last, const std::string& first, const std::string& unit, int tag = 1);

    // A stored registry subject with hearing status "Cochlear Implant".
    int StoreImplantSubject(const QString& last, const QString& unit);
    std::string Dump(const std::string& sql) const;
    // Everything the registry holds of a subject's implant data.
    std::string ImplantRows(int subjectId) const;
};

} // namespace quorin::test
