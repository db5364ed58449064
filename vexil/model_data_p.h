// The parsed model data file, shared by the reader and the capabilities loader.
#pragma once

#include "host/vx_model_data.h"

#include <nlohmann/json.hpp>

// Members keep their file order: "the first child node" is the first one written.
using json = nlohmann::ordered_json;

struct PM_Object::Document {
    json root;
};
