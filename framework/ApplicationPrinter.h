#pragma once
// The program's one printer: File > Print Setup changes it, and every print and
// preview uses it, so the setup the user chose is kept for the whole run.

class QPrinter;

namespace framework {

QPrinter& ApplicationPrinter();

} // namespace framework
