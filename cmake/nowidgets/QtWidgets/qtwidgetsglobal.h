// Placed first on the include path of the core library: every QtWidgets header includes this
// file, so a widget header pulled into the core stops the build here.
#error "grx1core must not include QtWidgets: move window code to grx1ui"
