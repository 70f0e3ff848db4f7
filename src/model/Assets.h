#pragma once

#include "Bytes.h"

// The pictures built into the program, byte for byte as the files in assets/.
namespace xilan::assets {

Bytes iconIco();
Bytes trianglePng();
Bytes bloomJpg();
Bytes whiteStripePng();
Bytes semicirclePng();
Bytes animalPng();
Bytes countryNameJpg();
Bytes brandStyleJpg();

} // namespace xilan::assets
