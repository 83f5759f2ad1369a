// The wait cursor over the window while an arrangement or a restore runs.
#pragma once

#include "core/resume_next.hpp"
#include "form/form_runtime.hpp"

namespace corvella {

class BusyCursor {
 public:
  explicit BusyCursor(FormRuntime& form) : form_(form) {
    ResumeNext([&] { form_.SetBusy(true); });
  }
  ~BusyCursor() {
    ResumeNext([&] { form_.SetBusy(false); });
  }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  FormRuntime& form_;
};

}  // namespace corvella
