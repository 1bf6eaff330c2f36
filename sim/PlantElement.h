#pragma once
// A part of the virtual machine that reacts to outputs and drives inputs
// (cylinders, the nozzle, later the feeder, trays, belts and neighbours).
// New parts join a plant with Plant::addElement without touching the plant core.
#include <cstdint>
#include <string>

namespace sim {

class Plant;

class PlantElement {
public:
    virtual ~PlantElement() = default;
    virtual std::string name() const = 0;
    // Once, when the element joins the plant: put its inputs into their rest state.
    virtual void attach(Plant& plant) { (void)plant; }
    // Every millisecond of plant time, after the axes moved. The plant lock is
    // held (it is recursive: any Plant method may be called from here).
    virtual void step(Plant& plant, int64_t nowUs) = 0;
};

} // namespace sim
