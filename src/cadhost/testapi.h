#pragma once

// The drawing host's test API, for this project's tests and for outside
// acceptance suites. Everything below is Qt-free and stays stable.
//
//   cadhost::Host host;                       // running, installed as cad::runningObjects()
//   cadhost::Drawing &d = host.drawing();
//
// Build a drawing (none of this enters the undo history):
//   d.addLayer(u"注記", 1, /*locked*/ false);  d.setLayerLocked(u"注記", true);
//   EntityId t = d.addText({.text = u"A-1", .insertionPoint = {10, 20, 0},
//                           .alignment = cadhost::AlignMiddleCenter,
//                           .alignmentPoint = cad::Point{12, 21, 0}, .layer = u"注記"});
//   d.addBlock({.name = u"TITLE", .lines = {{{0, 0, 0}, {100, 0, 0}}},
//               .attributes = {{.tag = u"NO", .prompt = u"図番", .defaultValue = u"-",
//                               .point = {5, 5, 0}}}});
//   EntityId b = d.addInsert({.block = u"TITLE", .insertionPoint = {0, 0, 0},
//                             .attributes = {{u"NO", u"D-001"}}});
//
// Queue picks (an empty queue is a cancelled pick):
//   host.scriptedPicker().queueHandles({d.entity(t)->handle});
//   host.scriptedPicker().queueIds({t});
//   host.scriptedPicker().queueCancel();                  // SelectOnScreen raises
//   host.scriptedPicker().queueSubEntity(attributeHandle); // GetSubEntity
//
// Inject faults and count calls (see cadhost/faults.h):
//   host.faults().failCall(3);              // the 3rd call from now raises
//   host.faults().failMember(u"TextString"); // every TextString raises
//   host.faults().stopAfter(5);             // 5 calls succeed, then the host stops
//   host.faults().rejectBusy(2);            // 2 busy rejections, retried through
//                                           // cad::currentMessageFilter()
//   host.callCount(u"HandleToObject"); host.totalCalls(); host.resetCallCounts();
//   host.stop(); host.start(); host.isRunning();
//
// Read back:
//   d.modelSpace() (ids in order), d.entity(id), d.entityByHandle(h),
//   d.layers(), d.blocks(), d.selectionSets().sets(),
//   d.history().steps() (undo steps, oldest first; label "Group" for a
//   StartUndoMark/EndUndoMark group), d.undo(), d.redo(), d.view().
//
// Window calls and the ZoomToPoint marker:
//   cadhost::RecordingWindowApi win; cad::setWindowApi(&win);
//   win.polylines (marker lines drawn), win.log, win.sleptMilliseconds;
//   win.minimised.insert(h), win.foregroundWindow, win.foregroundAllowed.
//   host.setApplicationWindow(h); d.setWindowHandle(h); d.setScreenSize(800, 600).

#include "cadhost/drawing.h"
#include "cadhost/errors.h"
#include "cadhost/faults.h"
#include "cadhost/host.h"
#include "cadhost/recordingwindowapi.h"
#include "cadhost/sampledrawing.h"
#include "cadhost/scriptedpicker.h"
#include "cadhost/selectionfilter.h"
#include "cadhost/wildcard.h"
