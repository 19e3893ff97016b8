#include "framework/ApplicationPrinter.h"

#include <QCoreApplication>
#include <QPrinter>

namespace framework {

namespace {
QPrinter* g_printer = nullptr;

void DeletePrinter()
{
    delete g_printer;
    g_printer = nullptr;
}
} // namespace

QPrinter& ApplicationPrinter()
{
    if (!g_printer) {
        g_printer = new QPrinter(QPrinter::HighResolution);
        // Gone with the application object, while the print system is still there.
        qAddPostRoutine(DeletePrinter);
    }
    return *g_printer;
}

} // namespace framework
