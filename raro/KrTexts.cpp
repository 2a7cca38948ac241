#include "raro/KrTexts.h"

const char* const theKrJointScriptFailed = "Unable to read joint script '%s'.";
const char* const theKrImportScriptFailed = "Unable to read import script '%s'.";
const char* const theKrMovFailed = "Unable to read MOV file '%s'.";
const char* const theKrLine = "Line %d:  ";
const char* const theKrExpectedJointLine =
    "Expected \"joint\", \"select\", \"addAttr\" or \"setAttr\".";
const char* const theKrExpectedSemicolon = "Expected \";\" at the end of the line.";
const char* const theKrUnknownJointFlag = "Unknown joint flag '%s'.";
const char* const theKrBadNumber = "Expected a number with unit \"%s\", found '%s'.";
const char* const theKrBareNumber = "A number without unit must be 0, found '%s'.";
const char* const theKrBadRotationOrder = "Expected a rotation order of x, y and z, found '%s'.";
const char* const theKrBadDof = "Expected degrees of freedom of x, y and z, found %s.";
const char* const theKrJointIncomplete =
    "Expected a joint with -name, -position, -rotationOrder, -dof and -orientation.";
const char* const theKrJointTwice = "Joint '%s' is created twice.";
const char* const theKrNoSuchJoint = "No joint '%s'.";
const char* const theKrChildNotAbsolute = "Joint '%s' under a parent without -absolute.";
const char* const theKrBadAttributeLine =
    "Expected the translateDegreesOfFreedom attribute of a joint.";
const char* const theKrUnknownImportLine = "Expected a line of an AMC import script.";
const char* const theKrChannelTwice = "Channel '%s' is defined twice.";
const char* const theKrAxisTwice = "Axis %ld is defined twice.";
const char* const theKrUndefinedChannel = "Channel '%s' is not defined.";
const char* const theKrUnknownAttribute = "Unknown joint attribute '%s'.";
const char* const theKrOutsideDof = "Attribute '%s' turns the joint outside its -dof.";
const char* const theKrUnknownAngleUnit = "Expected angle unit \"degree\" or \"radian\", found %s.";
const char* const theKrUnknownLinearUnit = "Expected linear unit \"inch\", found %s.";
const char* const theKrUnknownTimeUnit = "Unknown time unit '%s'.";
const char* const theKrNoTake =
    "Expected currentUnit, readTake, currentTime and playbackOptions lines.";
const char* const theKrFrameMismatch = "currentTime %ld and playbackOptions -minTime %ld differ.";
const char* const theKrMovNotNumber = "Expected a number, found '%s'.";
const char* const theKrMovColumns = "Expected %d numbers, found %d.";
const char* const theKrMovTime = "Expected time %.6g, found %.6g.";
const char* const theKrMovEmpty = "No frames.";
