#pragma once

// Whether a pointer may be used. Objects here are owned by containers and smart
// pointers, so what remains to check is null; probing memory for readability, as
// the original did, has no defined meaning in C++.
template <typename T>
bool IsValidObject(const T* object) {
  return object != nullptr;
}
