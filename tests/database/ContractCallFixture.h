#pragma once
// Calls procedures of the contract through MyADO on a demo registry with exactly the
// parameters the program binds, with values that find rows.

#include "database/ContractTable.h"
#include "database/RegistryFixture.h"

#include <map>
#include <string>

namespace quorin::test {

class ContractCall : public RegistryTest {
protected:
    void SetUp() override;

    std::string valueFor(const ContractProcedure& proc, std::size_t i);
    // Binds every parameter and runs the procedure; returns what RunStoredProcedure did.
    int call(const ContractProcedure& proc);

    std::map<std::string, std::string> m_values;
    std::map<std::string, DeclaredProcedure> m_declared;
};

} // namespace quorin::test
