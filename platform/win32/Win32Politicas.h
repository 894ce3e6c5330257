#pragma once
// The policy values in the registry, read afresh at each call: a policy that
// Group Policy pushes while the program runs counts at the next read.

#include "platform/AlmacenPoliticas.h"

inline constexpr wchar_t kClavePoliticas[] = L"SOFTWARE\\Policies\\AbrirCajon";

class Win32Politicas final : public AlmacenPoliticas {
  public:
    // `subclave` under each branch; another one only for tests.
    explicit Win32Politicas(const wchar_t* subclave = kClavePoliticas) : subclave_(subclave) {}
    std::optional<ValorPolitica> Leer(RamaPoliticas rama, const std::u16string& nombre,
                                      std::size_t limite) override;

  private:
    const wchar_t* subclave_;
};
