#pragma once
// A part of the virtual machine that reacts to outputs and drives inputs
// (cylinders, the nozzle, later the feeder, trays, belts and neighbours).
// New parts join a plant with Plant::addElement without touching the plant core.
#include <climits>
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
    // The earliest plant time at which step() would change anything, as things stand
    // and if nothing outside the plant touches it; kBusy when it must run every step.
    // Lets a plant that only marks time rest.
    static constexpr int64_t kBusy = 0;
    static constexpr int64_t kNever = INT64_MAX;
    virtual int64_t restUntilUs(Plant& plant) const {
        (void)plant;
        return kBusy;
    }

protected:
    // A part whose step is skipped while it rests is woken by this: call it whenever
    // something another part (or restUntilUs) reads changes other than by an input,
    // an output or the plant lock.
    void wakeParts() const;

private:
    friend class Plant;
    Plant* m_owner = nullptr;
};

} // namespace sim
