// Cochlear-implant patients: their records in CID (history, several processor fittings,
// devices, speech results) and, for most of them, the same data already imported into
// the registry. A few CID patients are not in the registry at all.
#include "database/demo/DemoContext.h"
#include "database/demo/DemoLists.h"
#include "database/demo/SqliteInserter.h"

#include <algorithm>
#include <string>
#include <vector>

namespace quorin::demo {

namespace {

struct CidDevice {
    std::string ear, device, positioner, surgeon, hospital, status;
    DemoDate surgery, stim, explant;
    int ageAtImplant;
};

struct CidSpeech {
    std::string type, name, condition;
    double score;
    int time;
    int testtype;
};

struct CidPatient {
    int durationL, durationR, haL, haR, haTimeL, haTimeR, unaidedL, unaidedR;
    std::string degreeL, degreeR, onsetL, onsetR, etiologyL, etiologyR;
    std::vector<std::string> processors; // newest fitting first
    std::vector<CidDevice> devices;      // newest surgery first
    std::vector<CidSpeech> speech;
};

CidPatient drawPatient(DemoContext& ctx, const DemoDate& birth)
{
    auto& r = ctx.random;
    CidPatient p;
    p.durationL = r.between(0, 240);
    p.durationR = r.between(0, 240);
    p.haL = r.between(0, 1);
    p.haR = r.between(0, 1);
    p.haTimeL = r.between(0, 120);
    p.haTimeR = r.between(0, 120);
    p.unaidedL = r.between(0, 60);
    p.unaidedR = r.between(0, 60);
    p.degreeL = r.pick(lists::kDegrees);
    p.degreeR = r.pick(lists::kDegrees);
    p.onsetL = r.pick(lists::kOnsets);
    p.onsetR = r.pick(lists::kOnsets);
    p.etiologyL = r.pick(lists::kEtiologies);
    p.etiologyR = r.pick(lists::kEtiologies);
    const int fittings = r.between(1, 3);
    for (int i = 0; i < fittings; ++i)
        p.processors.emplace_back(r.pick(lists::kProcessors));
    const int devices = r.percent(35) ? 2 : 1;
    DemoDate surgery = ctx.today.minusDays(r.between(60, 3000));
    if (surgery < birth.plusDays(300))
        surgery = birth.plusDays(300);
    for (int i = 0; i < devices; ++i) {
        CidDevice d;
        d.ear = devices == 2 ? std::string(lists::kEars[static_cast<std::size_t>(i)]) : std::string(r.pick(lists::kEars));
        d.device = r.pick(lists::kDevices);
        d.positioner = r.pick(lists::kYesNo);
        d.surgeon = r.pick(lists::kSurgeons);
        d.hospital = r.pick(lists::kHospitals);
        d.status = r.percent(85) ? "In Use" : std::string(r.pick(lists::kDeviceStatus));
        d.surgery = surgery;
        d.stim = surgery.plusDays(r.between(21, 35));
        d.explant = d.status == "Explanted" ? d.stim.plusDays(r.between(100, 700)) : DemoDate::empty();
        if (ctx.today < d.explant)
            d.explant = ctx.today;
        d.ageAtImplant = std::max(0, (surgery.year() - birth.year()) * 12 + static_cast<int>(surgery.month()) - static_cast<int>(birth.month()));
        p.devices.push_back(d);
        surgery = surgery.minusDays(r.between(200, 1500)); // the other ear was implanted earlier
    }
    const int rows = r.between(2, 6);
    for (int i = 0; i < rows; ++i) {
        CidSpeech s;
        s.type = r.pick(lists::kCiTestTypes);
        s.name = r.pick(lists::kCiTestNames);
        s.condition = r.pick(lists::kConditions);
        s.score = r.real(0, 100);
        s.testtype = i == 0 ? 1 : r.pick(std::array{0, 1, 2, 2});
        s.time = s.testtype == 1 ? 0 : r.between(1, 60);
        p.speech.push_back(s);
    }
    return p;
}

class ImplantWriter {
public:
    explicit ImplantWriter(DemoContext& ctx)
        : m_ctx(ctx),
          m_patient(ctx.db, "CID.patient",
                    {"Lastname", "Firstname", "Dob", "Unit", "DurationLeft", "DurationRight", "DegreePriorLeft",
                     "DegreePriorRight", "NatureOnsetLeft", "NatureOnsetRight", "EtiologyLeft", "EtiologyRight", "HaLeft",
                     "HaTimeLeft", "HaRight", "HaTimeRight", "UnaidedLeft", "UnaidedRight"}),
          m_external(ctx.db, "CID.external", {"PatientId", "Processor", "DateFit"}),
          m_internal(ctx.db, "CID.\"Internal\"",
                     {"PatientId", "Ear", "Device", "Positioner", "SurgeryDate", "StimDate", "AgeAtImplant", "Surgeon",
                      "Hospital", "Status", "DateOfExplant"}),
          m_cidSpeech(ctx.db, "CID.speech", {"patientid", "type", "name", "score", "time", "Ear", "testtype"}),
          m_cidata(ctx.db, "cidata",
                   {"SubjectId", "DurationPriorL", "DurationPriorR", "DegreePriorL", "DegreePriorR", "NatureL", "NatureR",
                    "EtiologyL", "EtiologyR", "HAL", "HAR", "HaTimeL", "HaTimeR", "DurationUnaidedL", "DurationUnaidedR",
                    "Processor1", "Processor2"}),
          m_device(ctx.db, "CiDevice",
                   {"SubjectId", "Ear", "Device", "Positioner", "SurgDate", "StimDate", "AgeAtImplant", "Surgeon",
                    "Hospital", "Status", "ExplantDate"}),
          m_ciSpeech(ctx.db, "cispeech", {"SubjectId", "DataType", "TestType", "TestName", "Score", "TimeIS", "Condition"})
    {
    }

    void writeCid(const std::string& last, const std::string& first, const DemoDate& birth, int unit, const CidPatient& p)
    {
        const std::int64_t id = m_patient.insert({text(last), text(first), birth, text(std::to_string(unit)),
                                                  num(p.durationL), num(p.durationR), text(p.degreeL), text(p.degreeR),
                                                  text(p.onsetL), text(p.onsetR), text(p.etiologyL), text(p.etiologyR),
                                                  num(p.haL), num(p.haTimeL), num(p.haR), num(p.haTimeR),
                                                  num(p.unaidedL), num(p.unaidedR)});
        DemoDate fit = m_ctx.today.minusDays(m_ctx.random.between(10, 200));
        for (const auto& processor : p.processors) {
            m_external.insert({num(id), text(processor), fit});
            fit = fit.minusDays(m_ctx.random.between(300, 900));
        }
        for (const auto& d : p.devices)
            m_internal.insert({num(id), text(d.ear), text(d.device), text(d.positioner), d.surgery, d.stim,
                               num(d.ageAtImplant), text(d.surgeon), text(d.hospital), text(d.status), d.explant});
        for (const auto& s : p.speech)
            m_cidSpeech.insert({num(id), text(s.type), text(s.name), real(s.score), num(s.time), text(s.condition),
                                num(s.testtype)});
        ++m_ctx.summary.cidPatients;
    }

    // The registry's copy, as the CID import would have saved it.
    void writeRegistry(std::int64_t subject, const CidPatient& p)
    {
        const auto processor = [&](std::size_t i) { return text(i < p.processors.size() ? p.processors[i] : ""); };
        m_cidata.insert({num(subject), num(p.durationL), num(p.durationR), text(p.degreeL), text(p.degreeR),
                         text(p.onsetL), text(p.onsetR), text(p.etiologyL), text(p.etiologyR), num(0), num(0),
                         num(p.haTimeL), num(p.haTimeR), num(p.unaidedL), num(p.unaidedR), processor(0), processor(1)});
        for (const auto& d : p.devices)
            m_device.insert({num(subject), text(d.ear), text(d.device), text(d.positioner), d.surgery, d.stim,
                             num(d.ageAtImplant), text(d.surgeon), text(d.hospital), text(d.status), d.explant});
        for (const auto& s : p.speech)
            m_ciSpeech.insert({num(subject), text(s.testtype == 1 ? "Pre Implant" : "Post Implant"), text(s.type),
                               text(s.name), real(s.score), num(s.time), text(s.condition)});
        ++m_ctx.summary.ciSubjects;
    }

private:
    DemoContext& m_ctx;
    SqliteInserter m_patient, m_external, m_internal, m_cidSpeech, m_cidata, m_device, m_ciSpeech;
};

} // namespace

void WriteImplants(DemoContext& ctx)
{
    ImplantWriter writer(ctx);
    auto& r = ctx.random;
    for (const auto& s : ctx.subjects) {
        if (!s.implant)
            continue;
        const CidPatient p = drawPatient(ctx, s.birth);
        writer.writeCid(s.lastName, s.firstName, s.birth, s.unit, p);
        if (s.id == 1 || r.percent(75)) // the rest wait for "CID Import" or "Update Quorin"
            writer.writeRegistry(s.id, p);
    }
    for (int i = 0; i < 3; ++i) { // implant patients the registry does not know
        const DemoDate birth = ctx.today.minusDays(r.between(400, 60 * 365));
        writer.writeCid(std::string(r.pick(lists::kLastNames)), std::string(r.pick(lists::kMaleNames)), birth,
                        950000 + i, drawPatient(ctx, birth));
    }
}

} // namespace quorin::demo
