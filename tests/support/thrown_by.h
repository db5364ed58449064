// Catching the host error a piece of test code throws, to look at its parts.
#pragma once

#include "host/vx_exception.h"

#include <gtest/gtest.h>

/// The VX_Exception `body` throws; a test failure when it throws none.
template <class Body>
VX_Exception thrown_by(Body&& body) {
    try {
        body();
    } catch (const VX_Exception& e) {
        return e;
    }
    ADD_FAILURE() << "no VX_Exception was thrown";
    return VX_Error(nullptr, 0, "", "", "");
}
