// TPNGObject: the PNG picture under the name older stored pictures use.
#pragma once

#include "platform/graphics/PngImage.h"

class TPNGObject : public TPngImage {};
