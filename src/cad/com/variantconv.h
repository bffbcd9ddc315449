#pragma once

#include "cad/variant.h"

#include <windows.h>
#include <oaidl.h>

namespace cad::com {

// Writes `v` into `out` (which must hold nothing that needs freeing) as
// automation expects it: strings as BSTR, Int16Array as VT_ARRAY|VT_I2
// (filter types), DoubleArray as VT_ARRAY|VT_R8 (points), VariantArray as
// VT_ARRAY|VT_VARIANT, objects as VT_DISPATCH. `out` owns the result.
void toVariant(const Variant &v, VARIANT *out);

// Reads a VARIANT (by-reference ones followed) into our variant. Objects
// become ComDispatch handles; with `unwrapOwn` an IDispatch that is one of
// our own DispatchServer objects gives back the object it serves (only
// for in-process pointers: the check would cost a round trip on a proxy).
Variant fromVariant(const VARIANT &v, bool unwrapOwn = false);

}  // namespace cad::com
