#pragma once
// Shared set-up of the tests: a fresh virtual machine driven by a lockstep clock.
