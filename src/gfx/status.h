// The status of the latest graphics call, kept once for the whole process.
#pragma once

namespace rc {

// Values follow the graphics library's Status numbering.
enum class GpStatus : int {
  Ok = 0,
  GenericError = 1,
  InvalidParameter = 2,
  OutOfMemory = 3,
  ObjectBusy = 4,
  InsufficientBuffer = 5,
  NotImplemented = 6,
  Win32Error = 7,
  WrongState = 8,
  Aborted = 9,
  FileNotFound = 10,
  ValueOverflow = 11,
  AccessDenied = 12,
  UnknownImageFormat = 13,
  FontFamilyNotFound = 14,
};

// Written by every wrapper operation that calls into the graphics code;
// never reset. Only the wrappers read it.
GpStatus LastStatus();
void SetLastStatus(GpStatus status);

// Stores the status and returns whether it is Ok.
inline bool Record(GpStatus status) {
  SetLastStatus(status);
  return status == GpStatus::Ok;
}

}  // namespace rc
