// Veltrane: starts the application (see app/startup.h).

#include "app/startup.h"

int main(int argc, char** argv) { return app::runApplication(argc, argv); }
