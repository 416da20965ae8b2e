// A shared library that loads fine but has no SnaCtl entry: the loader
// must refuse it and say why.
extern "C" int SnaCtlVersion() { return 1; }
