#pragma once
// Camera library: connection state of the cameras (1 upper, 2 lower).
class Hcvcam {
public:
    static bool get_CamConnected(short cam);
};
