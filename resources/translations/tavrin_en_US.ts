<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>MainWindow</name>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>After</source>
        <translation>After</translation>
    </message>
    <message>
        <source>Before</source>
        <translation>Before</translation>
    </message>
    <message>
        <source>Binary data(*.vdr )</source>
        <translation>Binary data(*.vdr )</translation>
    </message>
    <message>
        <source>Calendar</source>
        <translation type="vanished">Calendar</translation>
    </message>
    <message>
        <source>Calibrate Drive THR</source>
        <translation>Calibrate Drive THR</translation>
    </message>
    <message>
        <source>Calibrate Miles</source>
        <translation>Calibrate Miles</translation>
    </message>
    <message>
        <source>Calibrate Rest THR</source>
        <translation>Calibrate Rest THR</translation>
    </message>
    <message>
        <source>Calibrate Time</source>
        <translation>Calibrate Time</translation>
    </message>
    <message>
        <source>Can not open file</source>
        <translation>Can not open file</translation>
    </message>
    <message>
        <source>Car No.</source>
        <translation>Car No.</translation>
    </message>
    <message>
        <source>Certificate No.</source>
        <translation>Certificate No.</translation>
    </message>
    <message>
        <source>Change Action</source>
        <translation>Change Action</translation>
    </message>
    <message>
        <source>Change Time</source>
        <translation>Change Time</translation>
    </message>
    <message>
        <source>Changing scale, please wait.....</source>
        <translation>Changing scale, please wait.....</translation>
    </message>
    <message>
        <source>Chart</source>
        <translation>Chart</translation>
    </message>
    <message>
        <source>Chinese</source>
        <translation>Chinese</translation>
    </message>
    <message>
        <source>Choose Folder</source>
        <translation>Choose Folder</translation>
    </message>
    <message>
        <source>Connet RS232...</source>
        <translation>Connect RS232...</translation>
    </message>
    <message>
        <source>Count</source>
        <translation>Count</translation>
    </message>
    <message>
        <source>Count:</source>
        <translation>Count:</translation>
    </message>
    <message>
        <source>Create</source>
        <translation>Create</translation>
    </message>
    <message>
        <source>DVR creat vdr file.....</source>
        <translation>DVR creat vdr file.....</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>DateTime</source>
        <translation>DateTime</translation>
    </message>
    <message>
        <source>Debug</source>
        <translation>Debug</translation>
    </message>
    <message>
        <source>Devcie Info</source>
        <translation>Devcie Info</translation>
    </message>
    <message>
        <source>TavrinPlayer</source>
        <translation>Tavrin Player</translation>
    </message>
    <message>
        <source>Disconnecting Serial Port?</source>
        <translation>Disconnecting Serial Port?</translation>
    </message>
    <message>
        <source>Disconnet...</source>
        <translation>Disconnect...</translation>
    </message>
    <message>
        <source>Download Fail</source>
        <translation>Download Fail</translation>
    </message>
    <message>
        <source>Downlog Package.....</source>
        <translation>Downlog Package.....</translation>
    </message>
    <message>
        <source>Driver</source>
        <translation>Driver-Info</translation>
    </message>
    <message>
        <source>Driver Activity</source>
        <translation>Driver Activity</translation>
    </message>
    <message>
        <source>Driver Info.</source>
        <translation>Driver Action</translation>
    </message>
    <message>
        <source>Driver-1</source>
        <translation type="vanished">Driver-1 Info</translation>
    </message>
    <message>
        <source>Driver-2</source>
        <translation type="vanished">Driver-2 Info</translation>
    </message>
    <message>
        <source>Driving</source>
        <translation>Driving</translation>
    </message>
    <message>
        <source>Driving Over</source>
        <translation>Driving Over</translation>
    </message>
    <message>
        <source>Driving Time</source>
        <translation>Driving Time</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>Duration</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>Error : Check sum</source>
        <translation>Error: Check sum</translation>
    </message>
    <message>
        <source>Error Record</source>
        <translation>Error Record</translation>
    </message>
    <message>
        <source>Event Record</source>
        <translation>Event Record</translation>
    </message>
    <message>
        <source>FW InstallTime</source>
        <translation>FW InstallTime</translation>
    </message>
    <message>
        <source>FW Version</source>
        <translation>FW Version</translation>
    </message>
    <message>
        <source>Fault &amp; Event</source>
        <translation>Fault &amp; Event</translation>
    </message>
    <message>
        <source>File name formate error</source>
        <translation>File name formate error</translation>
    </message>
    <message>
        <source>GPS Fail</source>
        <translation>GPS Fail</translation>
    </message>
    <message>
        <source>High</source>
        <translation>High</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>Import Floder</source>
        <translation>Import Folder</translation>
    </message>
    <message>
        <source>Import Tar</source>
        <translation>Import Tar</translation>
    </message>
    <message>
        <source>Index</source>
        <translation>Index</translation>
    </message>
    <message>
        <source>Index    </source>
        <translation type="vanished">Index</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Latitude</source>
        <translation>Latitude</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Location</translation>
    </message>
    <message>
        <source>Longitude</source>
        <translation>Longitude</translation>
    </message>
    <message>
        <source>Map</source>
        <translation>Map</translation>
    </message>
    <message>
        <source>Mfd. Date</source>
        <translation>Mfd. Date</translation>
    </message>
    <message>
        <source>Mileage</source>
        <translation>Mileage</translation>
    </message>
    <message>
        <source>Mileage(Km)</source>
        <translation type="vanished">Mileage(km)</translation>
    </message>
    <message>
        <source>Mileage(km)</source>
        <translation>Mileage(km)</translation>
    </message>
    <message>
        <source>No data in the file !!</source>
        <translation>No data in the file !!</translation>
    </message>
    <message>
        <source>Open File...</source>
        <translation>Open File...</translation>
    </message>
    <message>
        <source>Open Tar File error</source>
        <translation>Open Tar File error</translation>
    </message>
    <message>
        <source>Opening file, please wait.....</source>
        <translation>Opening file, please wait.....</translation>
    </message>
    <message>
        <source>Operator</source>
        <translation>Operator</translation>
    </message>
    <message>
        <source>Please select have &apos;vdr&apos; files folder</source>
        <translation>Please select have &apos;vdr&apos; files folder</translation>
    </message>
    <message>
        <source>Power Loss</source>
        <translation>Power Loss</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Recent Time</source>
        <translation> └ Recent Time</translation>
    </message>
    <message>
        <source>Resting</source>
        <translation>Resting</translation>
    </message>
    <message>
        <source>Resting Time</source>
        <translation>Resting Time</translation>
    </message>
    <message>
        <source>SOC Fail</source>
        <translation>SOC Fail</translation>
    </message>
    <message>
        <source>Save on </source>
        <translation>Save on </translation>
    </message>
    <message>
        <source>Security Event</source>
        <translation>Security Event</translation>
    </message>
    <message>
        <source>Select Date</source>
        <translation> └ Select Date</translation>
    </message>
    <message>
        <source>Serial No.</source>
        <translation>Serial No.</translation>
    </message>
    <message>
        <source>Serial port error. Please check Serial port....</source>
        <translation>Serial port error. Please check Serial port....</translation>
    </message>
    <message>
        <source>Serial port error. Please try again later....</source>
        <translation>Serial port error. Please try again later....</translation>
    </message>
    <message>
        <source>SerialPort can not open</source>
        <translation>Can not open seril port !!</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>Speed (0.5sec)</source>
        <translation>Speed (0.5sec)</translation>
    </message>
    <message>
        <source>Speed AVG</source>
        <translation>AVG Speed</translation>
    </message>
    <message>
        <source>Speed History</source>
        <translation>Speed History</translation>
    </message>
    <message>
        <source>Speed Info</source>
        <translation>Speed Info</translation>
    </message>
    <message>
        <source>Speed Info.</source>
        <translation>Speed Info.</translation>
    </message>
    <message>
        <source>Speed Pulse Fail</source>
        <translation>Speed Pulse Fail</translation>
    </message>
    <message>
        <source>Standby</source>
        <translation>Standby</translation>
    </message>
    <message>
        <source>Standby Time</source>
        <translation>Standby Time</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Start Time</source>
        <translation>Start Time</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Stop Time</source>
        <translation>Stop Time</translation>
    </message>
    <message>
        <source>Stopping</source>
        <translation>Stopping</translation>
    </message>
    <message>
        <source>Storage Fail</source>
        <translation>Storage Fail</translation>
    </message>
    <message>
        <source>Tar File name formate error</source>
        <translation>Tar File name formate error</translation>
    </message>
    <message>
        <source>Technology</source>
        <translation>Technology</translation>
    </message>
    <message>
        <source>Threshold</source>
        <translation>Threshold</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Tool</source>
        <translation>Tool</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>USB ID</source>
        <translation>USB ID Setting</translation>
    </message>
    <message>
        <source>Vendor</source>
        <translation>Vendor</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>Version:</translation>
    </message>
    <message>
        <source>Viewer</source>
        <translation>Viewer</translation>
    </message>
    <message>
        <source>about</source>
        <translation>About</translation>
    </message>
    <message>
        <source>continuing</source>
        <translation>Continuing</translation>
    </message>
    <message>
        <source>gps</source>
        <translation>GPS</translation>
    </message>
    <message>
        <source>index</source>
        <translation>Index</translation>
    </message>
    <message>
        <source>snapshot</source>
        <translation>Snapshot</translation>
    </message>
    <message>
        <source>speed</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>Date: </source>
        <translation type="vanished">Date: </translation>
    </message>
    <message>
        <source>Speed: </source>
        <translation type="vanished">Speed: </translation>
    </message>
    <message>
        <source>Time: </source>
        <translation type="vanished">Time: </translation>
    </message>
    <message>
        <source>The file is damaged: it ends before all of its blocks. Only the blocks before the damage are shown.</source>
        <translation>The file is damaged: it ends before all of its blocks. Only the blocks before the damage are shown.</translation>
    </message>
    <message>
        <source>The screenshot could not be saved on %1</source>
        <translation>The screenshot could not be saved on %1</translation>
    </message>
    <message>
        <source>These days could not be imported:</source>
        <translation>These days could not be imported:</translation>
    </message>
    <message>
        <source>Tar archive(*.tar)</source>
        <translation>Tar archive(*.tar)</translation>
    </message>
    <message>
        <source>All files(*)</source>
        <translation>All files(*)</translation>
    </message>
    <message>
        <source>These days could not be written: %1</source>
        <translation>These days could not be written: %1</translation>
    </message>
    <message>
        <source>Error : can not write %1</source>
        <translation>Error : can not write %1</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>Item</source>
        <translation>Item</translation>
    </message>
    <message>
        <source>Export table…</source>
        <translation>Export table…</translation>
    </message>
    <message>
        <source>Export table</source>
        <translation>Export table</translation>
    </message>
    <message>
        <source>CSV files(*.csv)</source>
        <translation>CSV files(*.csv)</translation>
    </message>
    <message>
        <source>Can not write %1</source>
        <translation>Can not write %1</translation>
    </message>
    <message>
        <source>Disconnect the serial port before opening files dropped on the window</source>
        <translation>Disconnect the serial port before opening files dropped on the window</translation>
    </message>
    <message>
        <source>Only a &apos;vdr&apos; file, a folder or a &apos;tar&apos; archive can be dropped here</source>
        <translation>Only a &apos;vdr&apos; file, a folder or a &apos;tar&apos; archive can be dropped here</translation>
    </message>
    <message>
        <source>A download is running: wait for its end or cancel it</source>
        <translation>A download is running: wait for its end or cancel it</translation>
    </message>
    <message>
        <source>Disconnect the serial port before opening a file</source>
        <translation>Disconnect the serial port before opening a file</translation>
    </message>
    <message>
        <source>The recorder stopped answering at %1. Please check Serial port....</source>
        <translation>The recorder stopped answering at %1. Please check Serial port....</translation>
    </message>
    <message>
        <source>These days were not downloaded: %1</source>
        <translation>These days were not downloaded: %1</translation>
    </message>
    <message>
        <source>%1 no longer exists; it was taken off the recent list.</source>
        <translation>%1 no longer exists; it was taken off the recent list.</translation>
    </message>
    <message>
        <source>File</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Recent</source>
        <translation>Recent</translation>
    </message>
    <message>
        <source>Open File…</source>
        <translation>Open File…</translation>
    </message>
    <message>
        <source>Import Folder…</source>
        <translation>Import Folder…</translation>
    </message>
    <message>
        <source>Import Tar…</source>
        <translation>Import Tar…</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Table saved: %1</source>
        <translation>Table saved: %1</translation>
    </message>
    <message>
        <source>The name must look like %1</source>
        <translation>The name must look like %1</translation>
    </message>
    <message>
        <source>Route saved: %1</source>
        <translation>Route saved: %1</translation>
    </message>
    <message>
        <source>PDF saved: %1</source>
        <translation>PDF saved: %1</translation>
    </message>
    <message>
        <source>Export route…</source>
        <translation>Export route…</translation>
    </message>
    <message>
        <source>No route to export: %1</source>
        <translation>No route to export: %1</translation>
    </message>
    <message>
        <source>GPX files(*.gpx)</source>
        <translation>GPX files(*.gpx)</translation>
    </message>
    <message>
        <source>KML files(*.kml)</source>
        <translation>KML files(*.kml)</translation>
    </message>
    <message>
        <source>Export route</source>
        <translation>Export route</translation>
    </message>
    <message>
        <source>Period</source>
        <translation>Period</translation>
    </message>
</context>
<context>
    <name>PeriodPage</name>
    <message>
        <source>%1: cannot read: %2</source>
        <translation>%1: cannot read: %2</translation>
    </message>
    <message>
        <source>No days in the date list</source>
        <translation>No days in the date list</translation>
    </message>
    <message>
        <source>%1 to %2: %3 day(s), %4 day file(s) read; %5 breach(es), %6 allowed only under the exception, %7 gap(s) in the records</source>
        <translation>%1 to %2: %3 day(s), %4 day file(s) read; %5 breach(es), %6 allowed only under the exception, %7 gap(s) in the records</translation>
    </message>
    <message>
        <source>Driving hours per day</source>
        <translation>Driving hours per day</translation>
    </message>
    <message>
        <source>Hours</source>
        <translation>Hours</translation>
    </message>
    <message>
        <source>Daily limit (%1)</source>
        <translation>Daily limit (%1)</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Vehicle</source>
        <translation>Vehicle</translation>
    </message>
    <message>
        <source>Distance (km)</source>
        <translation>Distance (km)</translation>
    </message>
    <message>
        <source>Driving by driver</source>
        <translation>Driving by driver</translation>
    </message>
    <message>
        <source>Longest continuous</source>
        <translation>Longest continuous</translation>
    </message>
    <message>
        <source>Top speed (km/h)</source>
        <translation>Top speed (km/h)</translation>
    </message>
    <message>
        <source>Above %1 km/h</source>
        <translation>Above %1 km/h</translation>
    </message>
    <message>
        <source>Faults / events</source>
        <translation>Faults / events</translation>
    </message>
    <message>
        <source>No day file: a gap in the records</source>
        <translation>No day file: a gap in the records</translation>
    </message>
    <message>
        <source>Day file not used: its checksum does not match</source>
        <translation>Day file not used: its checksum does not match</translation>
    </message>
    <message>
        <source>driving records unusable</source>
        <translation>driving records unusable</translation>
    </message>
    <message>
        <source>Driver</source>
        <translation>Driver</translation>
    </message>
    <message>
        <source>Rule</source>
        <translation>Rule</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>Start - End</source>
        <translation>Start - End</translation>
    </message>
    <message>
        <source>Finding</source>
        <translation>Finding</translation>
    </message>
    <message>
        <source>Period</source>
        <translation>Period</translation>
    </message>
    <message>
        <source>No printer is installed. Save the page as a PDF file instead?</source>
        <translation>No printer is installed. Save the page as a PDF file instead?</translation>
    </message>
    <message>
        <source>Save as PDF</source>
        <translation type="vanished">Save as PDF</translation>
    </message>
    <message>
        <source>PDF files (*.pdf)</source>
        <translation type="vanished">PDF files (*.pdf)</translation>
    </message>
    <message>
        <source>The page could not be printed.</source>
        <translation>The page could not be printed.</translation>
    </message>
    <message>
        <source>The page could not be saved as a PDF file:
%1</source>
        <translation>The page could not be saved as a PDF file:
%1</translation>
    </message>
    <message>
        <source>%1 to %2, a bar a day</source>
        <translation>%1 to %2, a bar a day</translation>
    </message>
</context>
<context>
    <name>RecentTimeWidget</name>
    <message>
        <source> Hour</source>
        <translation> Hour</translation>
    </message>
    <message>
        <source>Last </source>
        <translation>Last </translation>
    </message>
    <message>
        <source>Recent Time</source>
        <translation>Recent Time</translation>
    </message>
    <message>
        <source>Recent Time:</source>
        <translation>Recent Time:</translation>
    </message>
</context>
<context>
    <name>RouteMap</name>
    <message>
        <source>Time: %1
Speed: %2 km/h
Latitude: %3
Longitude: %4</source>
        <translation>Time: %1
Speed: %2 km/h
Latitude: %3
Longitude: %4</translation>
    </message>
    <message>
        <source>No fix with a position on this day</source>
        <translation>No fix with a position on this day</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>End</source>
        <translation>End</translation>
    </message>
</context>
<context>
    <name>SpeedPlot</name>
    <message>
        <source>Event: %1</source>
        <translation>Event: %1</translation>
    </message>
    <message>
        <source>Fault: %1</source>
        <translation>Fault: %1</translation>
    </message>
    <message>
        <source>Speed above %1 km/h</source>
        <translation>Speed above %1 km/h</translation>
    </message>
</context>
<context>
    <name>ZtCreateDriverKeyDialog</name>
    <message>
        <source> success!</source>
        <translation>success!</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Create </source>
        <translation>Create </translation>
    </message>
    <message>
        <source>Dialog</source>
        <translation>Create USB ID</translation>
    </message>
    <message>
        <source>ID Format Error!</source>
        <translation>ID Format Error!</translation>
    </message>
    <message>
        <source>ID lenght is too long</source>
        <translation>ID lenght is too long</translation>
    </message>
    <message>
        <source>ID:</source>
        <translation>ID:</translation>
    </message>
    <message>
        <source>Name Format Error!</source>
        <translation>Name Format Error!</translation>
    </message>
    <message>
        <source>Name lenght is too long</source>
        <translation>Name lenght is too long</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>No save path!</source>
        <translation>No save path!</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Open Directory</source>
        <translation>Open Directory</translation>
    </message>
    <message>
        <source>Path</source>
        <translation>Path</translation>
    </message>
    <message>
        <source>The driver key file could not be written:
%1
%2</source>
        <translation>The driver key file could not be written:
%1
%2</translation>
    </message>
</context>
<context>
    <name>ZtPopWaitingWidget</name>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ZtPrintWidget</name>
    <message>
        <source>Car No.</source>
        <translation>Car No.</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>Mileage</source>
        <translation>Mileage</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>Speed History</source>
        <translation>Speed History</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>The report could not be printed.</source>
        <translation>The report could not be printed.</translation>
    </message>
    <message>
        <source>No printer is installed. Save the report as a PDF file instead?</source>
        <translation>No printer is installed. Save the report as a PDF file instead?</translation>
    </message>
    <message>
        <source>Save as PDF</source>
        <translation>Save as PDF</translation>
    </message>
    <message>
        <source>PDF files (*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
    <message>
        <source>The report could not be saved as a PDF file:
%1</source>
        <translation>The report could not be saved as a PDF file:
%1</translation>
    </message>
</context>
<context>
    <name>ZtSelectDatesDialog</name>
    <message>
        <source>Calendar</source>
        <translation>Calendar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Dialog</source>
        <translation>Select Dates</translation>
    </message>
    <message>
        <source>End (YY/MM/DD):</source>
        <translation>End (YY/MM/DD):</translation>
    </message>
    <message>
        <source>Export time exceeds 30 days</source>
        <translation>Export time exceeds 30 days</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Start (YY/MM/DD):</source>
        <translation>Start (YY/MM/DD):</translation>
    </message>
    <message>
        <source>Start time is greater than end time</source>
        <translation>Start time is over than end time,
please enter again</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>Warning</translation>
    </message>
</context>
<context>
    <name>ZtSerialPortDialog</name>
    <message>
        <source>Baud Rate:</source>
        <translation>Baud Rate:</translation>
    </message>
    <message>
        <source>Data Bits:</source>
        <translation>Data Bits:</translation>
    </message>
    <message>
        <source>Flow Control:</source>
        <translation>Flow Control:</translation>
    </message>
    <message>
        <source>Parity:</source>
        <translation>Parity:</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>Serial Port</source>
        <translation>Serial Port</translation>
    </message>
    <message>
        <source>Stop Bits:</source>
        <translation>Stop Bits:</translation>
    </message>
</context>
<context>
    <name>ZtSlider</name>
    <message>
        <source>1 hour</source>
        <translation>1 hour</translation>
    </message>
    <message>
        <source>1 min</source>
        <translation>1 min</translation>
    </message>
    <message>
        <source>10 min</source>
        <translation>10 min</translation>
    </message>
    <message>
        <source>20 min</source>
        <translation>20 min</translation>
    </message>
    <message>
        <source>30 min</source>
        <translation>30 min</translation>
    </message>
    <message>
        <source>30 sec</source>
        <translation>30 sec</translation>
    </message>
    <message>
        <source>5 min</source>
        <translation>5 min</translation>
    </message>
    <message>
        <source>Scale</source>
        <translation>Scale</translation>
    </message>
</context>
<context>
    <name>period</name>
    <message>
        <source>none</source>
        <translation>none</translation>
    </message>
    <message>
        <source> (and 1 stop under %1)</source>
        <translation> (and 1 stop under %1)</translation>
    </message>
    <message>
        <source> (and %1 stops under %2)</source>
        <translation> (and %1 stops under %2)</translation>
    </message>
    <message>
        <source>; %1 over the %2 of the exception</source>
        <translation>; %1 over the %2 of the exception</translation>
    </message>
    <message>
        <source>; allowed only under the exception: at most %1 followed by one %2 break, taken: %3</source>
        <translation>; allowed only under the exception: at most %1 followed by one %2 break, taken: %3</translation>
    </message>
    <message>
        <source>; the records end before the next break: allowed only under the exception, if one %1 break followed</source>
        <translation>; the records end before the next break: allowed only under the exception, if one %1 break followed</translation>
    </message>
    <message>
        <source>; the exception needs one %1 break after it, taken: %2</source>
        <translation>; the exception needs one %1 break after it, taken: %2</translation>
    </message>
    <message>
        <source>; the exception needs one %1 break after it, taken in parts</source>
        <translation>; the exception needs one %1 break after it, taken in parts</translation>
    </message>
    <message>
        <source>drove %1 without a %2 break (%3 over the %4 limit%5); breaks taken: %6</source>
        <translation>drove %1 without a %2 break (%3 over the %4 limit%5); breaks taken: %6</translation>
    </message>
    <message>
        <source>drove %1 in one working day (%2 over the %3 limit)</source>
        <translation>drove %1 in one working day (%2 over the %3 limit)</translation>
    </message>
    <message>
        <source>worked %1 without a rest of %2 (%3 over the %4 of a working day); longest pause: %5</source>
        <translation>worked %1 without a rest of %2 (%3 over the %4 of a working day); longest pause: %5</translation>
    </message>
    <message>
        <source>the rest between working days cannot be checked: %1 of its %2 have no records</source>
        <translation>the rest between working days cannot be checked: %1 of its %2 have no records</translation>
    </message>
    <message>
        <source>reduced rests in the week of %1: %2, at most %3 allowed</source>
        <translation>reduced rests in the week of %1: %2, at most %3 allowed</translation>
    </message>
    <message>
        <source>the rest ending on %1 was reduced too, and reduced rests may not fall on consecutive days</source>
        <translation>the rest ending on %1 was reduced too, and reduced rests may not fall on consecutive days</translation>
    </message>
    <message>
        <source>rested %1 between working days (%2 short of %3); %4</source>
        <translation>rested %1 between working days (%2 short of %3); %4</translation>
    </message>
    <message>
        <source>the file has no driving records</source>
        <translation>the file has no driving records</translation>
    </message>
    <message>
        <source>%1: the name gives no day; left out</source>
        <translation>%1: the name gives no day; left out</translation>
    </message>
    <message>
        <source>%1: a second file for %2 of %3; left out (%4 is used)</source>
        <translation>%1: a second file for %2 of %3; left out (%4 is used)</translation>
    </message>
    <message>
        <source>a period spans at most %1 days; the days before %2 are left out</source>
        <translation>a period spans at most %1 days; the days before %2 are left out</translation>
    </message>
    <message>
        <source>no day file for %1</source>
        <translation>no day file for %1</translation>
    </message>
    <message>
        <source>no day files from %1 to %2 (%3 days)</source>
        <translation>no day files from %1 to %2 (%3 days)</translation>
    </message>
    <message>
        <source>the day file for %1 is not used: its checksum does not match (%2)</source>
        <translation>the day file for %1 is not used: its checksum does not match (%2)</translation>
    </message>
    <message>
        <source>the driving records of %1 cannot be used: %2 (%3)</source>
        <translation>the driving records of %1 cannot be used: %2 (%3)</translation>
    </message>
    <message>
        <source>%1: %2 driving record(s) stamped outside the file&apos;s day left out</source>
        <translation>%1: %2 driving record(s) stamped outside the file&apos;s day left out</translation>
    </message>
    <message>
        <source>%1 h %2 min</source>
        <translation>%1 h %2 min</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source> %1 s</source>
        <translation> %1 s</translation>
    </message>
    <message>
        <source>(no car number)</source>
        <translation>(no car number)</translation>
    </message>
    <message>
        <source>breach</source>
        <translation>breach</translation>
    </message>
    <message>
        <source>exception only</source>
        <translation>exception only</translation>
    </message>
    <message>
        <source>gap</source>
        <translation>gap</translation>
    </message>
    <message>
        <source>daily driving</source>
        <translation>daily driving</translation>
    </message>
    <message>
        <source>continuous driving</source>
        <translation>continuous driving</translation>
    </message>
    <message>
        <source>rest between working days</source>
        <translation>rest between working days</translation>
    </message>
    <message>
        <source>records</source>
        <translation>records</translation>
    </message>
</context>
</TS>
