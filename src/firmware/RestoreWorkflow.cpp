#include "firmware/RestoreWorkflow.h"

#include "app/frmMain.h"

RestoreWorkflow::RestoreWorkflow(frmMain& f) : f(f) {}
void RestoreWorkflow::cmdRestore_Click() {}
