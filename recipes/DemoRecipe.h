#pragma once
#include <QString>

// The recipe a fresh data root starts with, fitted to the virtual machine.
namespace DemoRecipe {
constexpr const char* kName = "demo";
// Creates the demo recipe and makes it current when no recipe exists yet.
// Returns an empty string on success, else what went wrong.
QString ensure();
} // namespace DemoRecipe
