// What the fuzz targets share: one input file per process in a private
// temporary folder, a watch on the heap a run holds at once, and the trap
// that turns a broken rule into a crash libFuzzer keeps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// The path of this process's input file, "input" + extension in a private
// temporary folder that is removed at exit.
std::string FuzzInputPath(const std::string& extension);

// Replaces the file at path by a new one holding the bytes.
void WriteFreshFile(const std::string& path, const uint8_t* data, size_t size);

// The most heap held at once while work ran, beyond what was held before.
size_t PeakHeapDuring(const std::function<void()>& work);

// Stops the run with the fault on standard error when fault is not "".
void TrapOn(const std::string& fault);

// Traps when a run of an input of inputSize held more than allowance bytes of
// heap at once; remembers the largest peak for the summary printed at exit.
void CheckPeakHeap(size_t peak, size_t inputSize, size_t allowance);
