#include "dalport/RegistryProfile.h"

#include <utility>

namespace dalport {

namespace {

RegistryProfile& Profile()
{
    static RegistryProfile profile;
    return profile;
}

} // namespace

void SetRegistryProfile(RegistryProfile profile)
{
    Profile() = std::move(profile);
}

const RegistryProfile& CurrentRegistryProfile()
{
    return Profile();
}

} // namespace dalport
