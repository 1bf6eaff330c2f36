#pragma once
// The one check every recipe name passes, whether the operator typed it or it was
// read from "ProjectName.set": a recipe is a folder below the recipes folder and
// must never reach outside it.
#include <QString>

// True when name can be a recipe folder; otherwise why (if given) says what is wrong.
bool isValidRecipeName(const QString& name, QString* why = nullptr);
