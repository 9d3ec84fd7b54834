#pragma once

#include "model/TessGrid.h"

#include <cstddef>
#include <cstdint>
#include <string>

// What the fuzz targets share. Each input becomes a real file that the readers
// open and read exactly as they read a file the host offers, and each load is
// held to what a load promises.

// Gives this process a folder of its own (in memory, under /dev/shm, where there
// is one) and points WINEPREFIX at an empty prefix in it, so that the machine's
// own settings never steer a run. The folder goes when the process exits.
void PrepareFuzzFolder();

// Writes the input to this process's input file, whose name ends in `extension`
// so that it chooses the reader, and returns the file's path.
std::string WriteInputFile(const std::uint8_t* data, std::size_t size, const std::string& extension);

// Aborts, so that libFuzzer keeps the input, unless the load ended in status 0,
// 3 or 4, let go of its file, and, when it loaded, left a whole model: a
// picture of W x H cells, clue lists exactly for the directions whose length is
// above 0, each of its direction's line count and right-justified.
void CheckLoad(const CTessGrid& puzzle, const std::string& path);
