#include "serial/VaClasses.h"

void TVaPersistent::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0) {
        Changed();
    }
}

void TVaPersistent::Changed() {
    if (updateCount_ == 0 && onChanged_) {
        onChanged_();
    }
}
