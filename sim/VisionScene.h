#pragma once
// Draws what a virtual camera sees: a label, a barrel, a code, the nozzle or the
// calibration plate, placed where the camera reports it.
#include <QImage>
#include <QString>

class VisionScene {
public:
    enum Kind {
        LabelOnPlate,
        LabelOnNozzle,
        Barrel,
        BarrelWithLabel,
        Code,
        Nozzle,
        PlateMark,
        EmptyCell,
        NoImage
    };
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;

    struct Frame {
        Kind kind = NoImage;
        bool lowerCamera = false;                       // looks up: dark background, back light
        bool defect = false;                            // what makes a task NG, drawn so that one can see it
        double col = kWidth / 2.0, row = kHeight / 2.0; // centre of the object, px
        double angleDeg = 0.0;                          // counter-clockwise in the image
        double widthPx = 300.0, heightPx = 200.0;
        QString code; // the code a Code frame shows
    };

    static QImage render(const Frame& frame);
};
