#pragma once
// What the dataset report tests share: a registry holding datasets under several IRBs
// (one named "O'Neil Study", one IRB with an apostrophe), requests by several staff
// members inside and outside a period, releases, participation and call-log rows; and
// the Mail settings of a test-local settings folder.

#include "subjects_ui/FormFixture.h"

#include <QString>
#include <QVariant>

#include <map>

namespace quorin::test {

// The program's settings, user scope or system scope, in the test's own folder. An
// empty value removes the key.
void WriteMailSetting(bool system, const QString& key, const QVariant& value);
void ClearMailSettings();

class DatasetTest : public FormTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Raw SQL on the registry database (apostrophes doubled by the caller).
    void Exec(const QString& sql);
    void AddDataset(const QString& dataset, const QString& irb);
    void AddRequest(const QString& title, const QString& irb, int subject, const QString& isoDate, int persId);
    void AddRelease(const QString& title, const QString& irb);
    void AddParticipation(const QString& dataset, const QString& irb, int contacted, int participate);
    void AddCall(const QString& dataset, const QString& irb);
    int AddStaff(const QString& userName);
    int CallsOf(const QString& dataset, const QString& irb);

    // The standard set below, for tests that need a realistic registry.
    void AddStandardDatasets();

    // Staff ids of the standard set.
    int alice = 0, bob = 0, carol = 0;
};

} // namespace quorin::test
