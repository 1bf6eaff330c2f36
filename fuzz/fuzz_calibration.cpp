// A camera's nine-point calibration file "cam<N>_9dian.json".
#include "FuzzSupport.h"
#include "platform/vision/CamCalib.h"

#include <QJsonDocument>

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QJsonDocument doc = QJsonDocument::fromJson(fuzz::bytes(data, size));
    if (!doc.isObject()) return 0;
    CamCalib calib;
    if (!calib.fromJson(doc.object())) {
        fuzz::require(!calib.valid(), "a refused file leaves no calibration");
        return 0;
    }
    double r[CamCalib::kMaxPoints], c[CamCalib::kMaxPoints], x[CamCalib::kMaxPoints], y[CamCalib::kMaxPoints];
    const int n = calib.points(r, c, x, y);
    fuzz::require(n >= 3 && n <= CamCalib::kMaxPoints, "a calibration has 3 to kMaxPoints points");
    double ax = 0, ay = 0;
    calib.imageToAxis(c[0], r[0], &ax, &ay);
    (void)calib.mmPerPixel();
    (void)calib.residual();
    CamCalib again;
    fuzz::require(again.fromJson(calib.toJson()), "a stored calibration reads back");
    return 0;
}
