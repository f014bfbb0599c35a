// The run-time class names of the visual managers.
#include "framework/AfxFeatures.h"

const CRuntimeClass CMFCVisualManager::classInfo = {"CMFCVisualManager"};
const CRuntimeClass CMFCVisualManagerWindows::classInfo = {"CMFCVisualManagerWindows"};
