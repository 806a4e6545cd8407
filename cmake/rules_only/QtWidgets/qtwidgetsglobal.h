// Put first on the include path of rules libraries, which must not depend on widgets: every
// widget and chart header reaches this file, by whatever spelling it was included.
#error "A rules library includes a widget header: move this code into the subsystem's ui/ folder."
