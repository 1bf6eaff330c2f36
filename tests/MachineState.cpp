#include "MachineState.h"

#include "app/MachineData.h"
#include "recipes/DemoRecipe.h"
#include "sequences/CycleData.h"
#include "vision/VisionFlags.h"

#include <cstring>

namespace {
template <class T, size_t N> void zero(volatile T (&array)[N]) {
    for (auto& v : array) v = T();
}
} // namespace

void resetMachineData() {
    zero(gd);
    zero(gf);
    zero(gr);
    zero(eerv);
    cardOk = 0.0;
    manualMode = workMode = 0.0;
    dryRun = startRequest = runA = runB = endProduction = homeRequest = waitOperator = 0;
    interlockOff = inputFreeze = alarmClearReq = refreshSaveReq = startupDone = blink = 0;
    estopOk = doorOk = homedA = homedB = homedUi = readyA = readyB = alarmActive = promptActive = 0;
    zero(alarmFlags);
    zero(promptFlags);
    zero(inImg);
    zero(outImg);
    zero(inCopy);
    zero(axisAlmOk);
    zero(axisElpOk);
    zero(axisElnOk);
    zero(axisOrg);
    zero(axisHomed);
    stepA = stepB = stepC = 0.0;
    fastStop = taskaStop = taskbStop = tcpStop = 0;
    lineInStep = emptyStep = lastPhotoCell = 0.0;
    zero(cycleJobs);
    zero(counterNg);
    for (auto& record : labelPhotoBuf)
        for (auto& v : record) v = 0.0;
    calibBusy = upperLightOn = lowerLightOn = 0;
    autospeedk = jogspeedk = 1.0;
}

void applyDemoRecipe() {
    for (const DemoRecipe::Value& v : DemoRecipe::values()) {
        volatile double* array = v.array == 'd' ? gd : v.array == 'f' ? gf : gr;
        array[v.index] = v.value;
    }
}

double command(unsigned short axis) {
    double p = 0;
    dmc_get_position_unit(0, axis, &p);
    return p;
}

double encoder(unsigned short axis) {
    double p = 0;
    dmc_get_encoder_unit(0, axis, &p);
    return p;
}
