#pragma once

#include "platform/dispatch.h"

#include <oaidl.h>

#include <string>

namespace tarnwick::platform {

/// Joins the calling thread to the system's multithreaded COM apartment, once per thread, so that
/// automation objects are called directly from every thread of the program, as the dispatch
/// interface expects. False when the thread cannot use COM.
bool JoinComApartment();

/// A readable text for a failed COM call's result code.
std::string ComErrorText(long outcome);

/// An IDispatch that serves `object` to COM callers (one reference, the caller's). Texts cross as
/// UTF-16 strings, numbers as 32-bit integers, objects as IDispatch; a failure becomes an exception
/// whose description is the failure's text.
IDispatch* ServeDispatchObject(DispatchPointer object);

/// A DispatchObject that calls `dispatch` (which it holds a reference to) through IDispatch::Invoke.
/// An object served by ServeDispatchObject in this process comes back as itself.
DispatchPointer CallDispatchObject(IDispatch* dispatch);

}  // namespace tarnwick::platform
