#pragma once

#include "cad/object.h"

#include <memory>

namespace wintest {

// The object a test server serves, and the in-process tests call through
// DispatchServer: members that echo and describe values, a property, by-
// reference outputs, failures of every kind, a busy phase and a sudden
// death. `Child` returns a second object of the same kind.
std::shared_ptr<cad::Dispatch> makeTestObject();

}  // namespace wintest
