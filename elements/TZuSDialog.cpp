#include "elements/TZuSDialog.h"

void TZuSDialog::Execute(TData&, std::uint16_t) {
    ShowDialog();
}
