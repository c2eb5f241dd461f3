#include <maya/MPxData.h>

MPxData::MPxData() {}
MPxData::~MPxData() {}
