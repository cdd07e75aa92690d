#pragma once

class TZuMainForm;

// Starts the built application: shows the main window (as the main form's Visible says),
// switches links on, runs the registered start-up routines once and discards their list, so
// routines registered later are not supported.
void StartApplication(TZuMainForm& mainForm);
