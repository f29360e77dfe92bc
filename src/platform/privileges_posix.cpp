#include "platform/privileges.h"

namespace tarvexio {

bool Privileges::IsRunAsAdmin() const
{
    return true;
}

} // namespace tarvexio
