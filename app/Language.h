#pragma once
// The operator texts are written in Chinese; an English system locale gets the
// English translation. Texts that go into files, MES bodies and the database are
// never translated.
class QCoreApplication;

namespace Language {
// Loads the translation for the default locale; returns true when one was installed.
bool install(QCoreApplication& app);
// Removes what install() loaded (tests switch languages).
void uninstall(QCoreApplication& app);
} // namespace Language
