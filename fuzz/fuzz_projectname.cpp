// "ProjectName.set": the recipe name becomes a folder that files are written to.
#include "FuzzSupport.h"
#include "platform/Paths.h"
#include "platform/kzct.h"
#include "platform/kzct_internal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::scratchRoot();
    QString why;
    const QString name = kzct::recipeNameFromText(fuzz::bytes(data, size), &why);
    fuzz::require(name.isEmpty() != why.isEmpty(), "a name is either taken or refused with a reason");
    if (name.isEmpty()) return 0;
    fuzz::require(!name.contains('/') && !name.contains('\\') && name != "." && name != "..",
                  "an accepted name stays inside the recipes folder");
    fuzz::require(!name.contains(QChar(0)), "an accepted name holds no NUL");
    const QString dir = QDir::cleanPath(kzct::recipeDir(name));
    fuzz::require(dir.startsWith(QDir::cleanPath(Paths::recipesDir()) + "/"),
                  "the folder is below the recipes");
    return 0;
}
