#pragma once
// The local date and time, to the millisecond: when a kick is recorded.

struct MomentoLocal {
    int anio = 0;
    int mes = 0;
    int dia = 0;
    int hora = 0;
    int minuto = 0;
    int segundo = 0;
    int milisegundo = 0;
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual MomentoLocal Ahora() = 0;
};
