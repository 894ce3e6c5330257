#pragma once
// Counts a box or a modal window while it is open, also when it ends by an
// exception, so the F12 poll can wait meanwhile.

class ModalAbierto {
  public:
    explicit ModalAbierto(int& abiertos) : abiertos_(abiertos) { ++abiertos_; }
    ~ModalAbierto() { --abiertos_; }
    ModalAbierto(const ModalAbierto&) = delete;
    ModalAbierto& operator=(const ModalAbierto&) = delete;

  private:
    int& abiertos_;
};
