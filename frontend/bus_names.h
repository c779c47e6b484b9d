#pragma once

// The running program's D-Bus service on the session bus (app/bus_service.h; the interface is
// described in app/com.talvemark.TK700.xml), as its clients reach it.

namespace bus
{
constexpr char kService[] = "com.talvemark.TK700";
constexpr char kPath[] = "/com/talvemark/TK700";
constexpr char kInterface[] = "com.talvemark.TK700";
// The named errors of its methods.
constexpr char kNoMouse[] = "com.talvemark.TK700.Error.NoMouse";
constexpr char kInvalidArgument[] = "com.talvemark.TK700.Error.InvalidArgument";
constexpr char kNotSent[] = "com.talvemark.TK700.Error.NotSent";
constexpr char kNotSaved[] = "com.talvemark.TK700.Error.NotSaved";
} // namespace bus
