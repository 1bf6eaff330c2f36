#include "Hcvcam.h"

#include "platform/vision/VisionBackend.h"
#include "platform/vision/taskdata.h"

bool Hcvcam::get_CamConnected(short cam) {
    if (cam < 1 || cam > taskdata::GetInstance()->camNum()) return false;
    if (VisionBackend* backend = VisionBackend::current()) return backend->cameraConnected(cam);
    return true;
}
