// The parsed model data file, shared by the reader and the capabilities loader.
#pragma once

#include "host/vx_model_data.h"

#include <nlohmann/json.hpp>

using json = nlohmann::json;

struct PM_Object::Document {
    json root;
};
