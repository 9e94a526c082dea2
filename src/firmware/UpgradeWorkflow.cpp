#include "firmware/UpgradeWorkflow.h"

#include "app/frmMain.h"

UpgradeWorkflow::UpgradeWorkflow(frmMain& f) : f(f) {}
void UpgradeWorkflow::cmdUpgrade_Click() {}
