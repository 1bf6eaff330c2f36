#pragma once
#include <QString>

// First-start preparation of the data root: folders, the card configuration
// file and the demo recipe. Leaves whatever already exists untouched.
namespace DataSetup {
// Returns an empty string on success, else what went wrong.
QString ensure();
} // namespace DataSetup
