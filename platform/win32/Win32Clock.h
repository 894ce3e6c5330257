#pragma once
// The local time from the system's clock.

#include "platform/Clock.h"

class Win32Clock : public Clock {
  public:
    MomentoLocal Ahora() override;
};
