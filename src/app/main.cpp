#include "app/vintrel_app.h"

// The one application object of the process.
CVintrelApp theApp;

int main(int argc, char** argv) { return AfxWinMain(argc, argv); }
