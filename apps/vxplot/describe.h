// vxplot describe: what the host knows of the printer once the driver described it.
#pragma once

#include "session.h"

#include <ostream>

/// Writes the description as readable text.
void describe_text(const Host_Session& session, std::ostream& out);
/// Writes the description as one JSON object.
void describe_json(const Host_Session& session, std::ostream& out);
