#include "DemoRecipe.h"

#include "platform/KZLOG.h"
#include "platform/kzct.h"

#include <QFileInfo>

namespace DemoRecipe {

namespace {
// Layout of the virtual machine (mm, Z and NG Z count downwards from 0 at the top):
// the nozzle sits 40 mm in -X from the upper camera, the height sensor 35 mm in +X,
// the NG gripper 60 mm in -Y. docs/demo-recipe.md explains every value.
constexpr double kNozzleDx = -40.0;
constexpr double kLowCamX = 380.0, kLowCamY = 140.0;

const std::vector<Value> kValues = {
    // Function switches and modes.
    {'d', 7, 2.0},   // automatic speed high
    {'d', 12, 2.0},  // label vision NG skip
    {'d', 14, 1.0},  // assembly photo light: coaxial
    {'d', 18, 2.0},  // belt line in use
    {'d', 20, 2.0},  // calibration plate light: ring + coaxial
    {'d', 22, 2.0},  // label discard enable
    {'d', 31, 1.0},  // kept at least 1
    {'d', 32, 1.0},  // kept at least 1
    {'d', 33, 0.05}, // photo delay, s
    {'d', 36, 2.0},  // barrel vision NG skip
    {'d', 38, 1.0},  // NG product into the NG tray
    {'d', 41, 20.0}, // jog speed
    // Manual speeds of the axis pages.
    {'d', 50, 10.0},
    {'d', 51, 10.0},
    {'d', 52, 5.0},
    {'d', 53, 30.0},
    {'d', 54, 5.0},
    {'d', 55, 20.0},
    {'d', 56, 20.0},
    {'d', 57, 10.0},
    // Homing speeds, fast and slow.
    {'d', 90, 80.0},
    {'d', 91, 80.0},
    {'d', 92, 20.0},
    {'d', 93, 90.0},
    {'d', 94, 20.0},
    {'d', 95, 50.0},
    {'d', 96, 50.0},
    {'d', 97, 20.0},
    {'d', 130, 5.0},
    {'d', 131, 5.0},
    {'d', 132, 2.0},
    {'d', 133, 5.0},
    {'d', 134, 2.0},
    {'d', 135, 5.0},
    {'d', 136, 5.0},
    {'d', 137, 5.0},
    // Height limits.
    {'d', 251, 3.0},
    {'d', 252, -3.0},
    // Camera-to-nozzle relation as the linked calibration would find it.
    {'d', 310, kNozzleDx},
    {'d', 315, kNozzleDx},
    {'d', 325, kLowCamX},
    {'d', 326, kLowCamY},
    // Calibration plate: nozzle pick position and upper-camera photo position.
    {'d', 340, 440.0},
    {'d', 341, 140.0},
    {'d', 342, 35.0},
    {'d', 345, 480.0},
    {'d', 346, 140.0},
    {'d', 347, 3.0},

    // Axis speeds.
    {'f', 200, 300.0},
    {'f', 201, 300.0},
    {'f', 202, 100.0},
    {'f', 203, 360.0},
    {'f', 204, 100.0},
    {'f', 205, 100.0},
    {'f', 206, 100.0},
    // Process times (s) and counts.
    {'f', 210, 0.2},
    {'f', 211, 1.0},
    {'f', 212, 0.1},
    {'f', 213, 0.2},
    {'f', 214, 0.2},
    {'f', 215, 3.0},
    {'f', 216, 0.3},
    {'f', 218, 3.0},
    {'f', 221, 3.0},
    {'f', 222, 3.0},
    {'f', 240, 10.0},
    {'f', 241, 1.5},
    {'f', 242, 2.0},
    // Calibration speeds.
    {'f', 350, 100.0},
    {'f', 351, 100.0},
    {'f', 352, 50.0},
    {'f', 353, 90.0},
    // Safe heights and special positions.
    {'f', 400, 5.0},
    {'f', 402, 30.5},
    {'f', 410, kLowCamX},
    {'f', 411, kLowCamY},
    {'f', 412, 30.0},
    {'f', 413, 330.0},
    {'f', 414, 60.0},
    {'f', 415, 20.0},
    // Trays: rows, columns, row pitch, column pitch.
    {'f', 500, 3.0},
    {'f', 501, 4.0},
    {'f', 502, 12.0},
    {'f', 503, 15.0},
    {'f', 510, 4.0},
    {'f', 511, 5.0},
    {'f', 512, 20.0},
    {'f', 513, 20.0},
    {'f', 520, 2.0},
    {'f', 521, 5.0},
    {'f', 522, 20.0},
    {'f', 523, 20.0},
    // Taught positions.
    {'f', 600, 420.0},
    {'f', 601, 60.0},
    {'f', 602, 40.0},
    {'f', 605, 460.0},
    {'f', 606, 60.0},
    {'f', 607, 3.0},
    {'f', 610, kLowCamX},
    {'f', 611, kLowCamY},
    {'f', 612, 30.0},
    {'f', 615, 260.0},
    {'f', 616, 220.0},
    {'f', 617, 38.0},
    {'f', 620, 300.0},
    {'f', 621, 220.0},
    {'f', 622, 3.0},
    {'f', 625, 480.0},
    {'f', 626, 140.0},
    {'f', 627, 3.0},
    {'f', 630, 160.0},
    {'f', 631, 280.0},
    {'f', 632, 40.0},
    {'f', 635, 300.0},
    {'f', 636, 160.0},
    {'f', 637, 45.0},
    {'f', 640, 300.0},
    {'f', 641, 232.0},
    {'f', 642, 3.0},
    {'f', 645, 160.0},
    {'f', 646, 340.0},
    {'f', 647, 3.0},
    {'f', 650, 335.0},
    {'f', 651, 220.0},
    {'f', 652, 3.0},

    // Run data: every tray cell index starts at cell 1.
    {'r', 0, 1.0},
    {'r', 1, 1.0},
    {'r', 2, 1.0},
    {'r', 3, 1.0},
    {'r', 4, 1.0},
    {'r', 5, 1.0},
    {'r', 6, 1.0},
    {'r', 7, 1.0},
    {'r', 10, 1.0},
    {'r', 11, 1.0},
    {'r', 12, 1.0},
    {'r', 13, 1.0},
    {'r', 14, 1.0},
    {'r', 15, 1.0},
};

kzct::RecipeValues recipeValues() {
    kzct::RecipeValues v;
    v.gd.assign(size_t(kGdSize), 0.0);
    v.gf.assign(size_t(kGfSize), 0.0);
    v.gr.assign(size_t(kGrSize), 0.0);
    for (const Value& e : kValues) {
        std::vector<double>& target = e.array == 'd' ? v.gd : e.array == 'f' ? v.gf : v.gr;
        target.at(size_t(e.index)) = e.value;
    }
    return v;
}

bool recipeExists(const QString& name) {
    return !name.isEmpty() && QFileInfo(kzct::recipeDir(name)).isDir();
}
} // namespace

const std::vector<Value>& values() {
    return kValues;
}

QString ensure() {
    const QStringList names = kzct::recipeNames();
    if (names.isEmpty()) {
        if (!kzct::writeRecipe(kName, recipeValues()))
            return QString("cannot write the demo recipe below %1").arg(kzct::recipeDir(kName));
        if (!kzct::setCurrentRecipeName(kName))
            return QString("cannot write %1").arg(kzct::projectNameFile());
        KZLOG::CLog::Info(QString("demo recipe created in %1 and made current").arg(kzct::recipeDir(kName)));
        return QString();
    }
    if (recipeExists(kzct::currentRecipeName())) return QString();
    const QString pick = names.contains(kName) ? QString(kName) : names.first();
    if (!kzct::setCurrentRecipeName(pick)) return QString("cannot write %1").arg(kzct::projectNameFile());
    KZLOG::CLog::Warn(QString("no valid current recipe; \"%1\" made current").arg(pick));
    return QString();
}

} // namespace DemoRecipe
