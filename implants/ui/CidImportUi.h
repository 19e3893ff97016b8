#pragma once
// Makes the CID import known to the program: the CI Database Lookup with its template,
// and the Tools commands CID Import (32827) and Update Quorin (32829). Called once at
// start-up, before the main frame is made.

namespace quorin {

void RegisterCidImport();

} // namespace quorin
