#pragma once
// Only what carries DALPORT_EXPORT leaves the shared library; everything else is hidden.
#if defined(_WIN32)
#  if defined(DALPORT_BUILDING)
#    define DALPORT_EXPORT __declspec(dllexport)
#  else
#    define DALPORT_EXPORT __declspec(dllimport)
#  endif
#else
#  define DALPORT_EXPORT __attribute__((visibility("default")))
#endif
