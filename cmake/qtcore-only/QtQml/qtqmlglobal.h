// Every QtQml header includes this one first. Where this copy is found, the code is feature logic
// or the device link, which use QtCore only.
#error "A QtQml header in code of QtCore only (cmake/Tk700Layers.cmake)"
