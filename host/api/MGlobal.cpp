#include <maya/MGlobal.h>

#include <iostream>

namespace {

void display(const char* kind, const MString& text) { std::cerr << kind << text.asChar() << std::endl; }

}  // namespace

void MGlobal::displayInfo(const MString& theMessage) { display("", theMessage); }
void MGlobal::displayWarning(const MString& theWarning) { display("Warning: ", theWarning); }
void MGlobal::displayError(const MString& theError) { display("Error: ", theError); }
