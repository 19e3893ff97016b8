#include "subjects/ui/AdminImport.h"

namespace quorin {

void OnAdminImport(UserInterface& ui)
{
    ui.MessageBox(QStringLiteral("Unable to connect to Medical Manager Server!"), UserInterface::Icon::Stop);
}

} // namespace quorin
