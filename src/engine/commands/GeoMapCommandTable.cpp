// Which routine runs each command, and which writer renders the undo snapshots.
// A code left without a handler is declared but refused by the frame.
#include "engine/GeoMap.h"
#include "engine/file/GeoMapFile.h"

void TGeoMap::InstallCommandHandlers()
{
    CommandHandlers.fill(TCommandHandler());
    InstallPlanFileCommands(*this);
    CommandHandlers[mcNewPage] = &TGeoMap::CmdNewPage;
    CommandHandlers[mcDelPage] = &TGeoMap::CmdDelPage;
    CommandHandlers[mcSetPageProp] = &TGeoMap::CmdSetPageProp;
    CommandHandlers[mcChangePageOrder] = &TGeoMap::CmdChangePageOrder;
    CommandHandlers[mcNewLayer] = &TGeoMap::CmdNewLayer;
    CommandHandlers[mcDelLayer] = &TGeoMap::CmdDelLayer;
    CommandHandlers[mcSetLayerProp] = &TGeoMap::CmdSetLayerProp;
    CommandHandlers[mcChangeLayerOrder] = &TGeoMap::CmdChangeLayerOrder;
    CommandHandlers[mcNewRastr] = &TGeoMap::CmdNewRastr;
    CommandHandlers[mcLoadRastr] = &TGeoMap::CmdLoadRastr;
    CommandHandlers[mcUnLoadRastr] = &TGeoMap::CmdUnLoadRastr;
    CommandHandlers[mcDelRastr] = &TGeoMap::CmdDelRastr;
    CommandHandlers[mcSetRastrProp] = &TGeoMap::CmdSetRastrProp;
    CommandHandlers[mcChangeRastrOrder] = &TGeoMap::CmdChangeRastrOrder;
    CommandHandlers[mcNewText] = &TGeoMap::CmdNewText;
    CommandHandlers[mcDelText] = &TGeoMap::CmdDelText;
    CommandHandlers[mcSetTextProp] = &TGeoMap::CmdSetTextProp;
    CommandHandlers[mcChangeTextOrder] = &TGeoMap::CmdChangeTextOrder;
    CommandHandlers[mcNewPoint] = &TGeoMap::CmdNewPoint;
    CommandHandlers[mcDelPoint] = &TGeoMap::CmdDelPoint;
    CommandHandlers[mcSetPointProp] = &TGeoMap::CmdSetPointProp;
    CommandHandlers[mcChangePointOrder] = &TGeoMap::CmdChangePointOrder;
    CommandHandlers[mcNewLine] = &TGeoMap::CmdNewLine;
    CommandHandlers[mcDelLine] = &TGeoMap::CmdDelLine;
    CommandHandlers[mcSetLineProp] = &TGeoMap::CmdSetLineProp;
    CommandHandlers[mcChangeLineOrder] = &TGeoMap::CmdChangeLineOrder;
    CommandHandlers[mcNewPolygon] = &TGeoMap::CmdNewPolygon;
    CommandHandlers[mcDelPolygon] = &TGeoMap::CmdDelPolygon;
    CommandHandlers[mcSetPolygonProp] = &TGeoMap::CmdSetPolygonProp;
    CommandHandlers[mcChangePolygonOrder] = &TGeoMap::CmdChangePolygonOrder;
    CommandHandlers[mcTransform] = &TGeoMap::CmdTransform;
    CommandHandlers[mcChangeSem] = &TGeoMap::CmdChangeSem;
    CommandHandlers[mcDelObjects] = &TGeoMap::CmdDelObjects;
    CommandHandlers[mcChangeHinSem] = &TGeoMap::CmdChangeHinSem;
}

TSnapshotWriter DefaultSnapshotWriter() { return WritePlanSnapshot; }
