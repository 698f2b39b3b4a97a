<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
<context>
    <name>MainWindow</name>
    <message>
        <source>About</source>
        <translation>關於</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>製造商地址</translation>
    </message>
    <message>
        <source>After</source>
        <translation>調整後</translation>
    </message>
    <message>
        <source>Before</source>
        <translation>調整前</translation>
    </message>
    <message>
        <source>Binary data(*.vdr )</source>
        <translation>檔案(*.vdr)</translation>
    </message>
    <message>
        <source>Calendar</source>
        <translation type="vanished">日曆</translation>
    </message>
    <message>
        <source>Calibrate Drive THR</source>
        <translation>連續行駛時間門檻值調整</translation>
    </message>
    <message>
        <source>Calibrate Miles</source>
        <translation>里程數調整</translation>
    </message>
    <message>
        <source>Calibrate Rest THR</source>
        <translation>連續休息時間門檻值調整</translation>
    </message>
    <message>
        <source>Calibrate Time</source>
        <translation>時間調整</translation>
    </message>
    <message>
        <source>Can not open file</source>
        <translation>檔案無法開啟</translation>
    </message>
    <message>
        <source>Car No.</source>
        <translation>車牌號碼</translation>
    </message>
    <message>
        <source>Certificate No.</source>
        <translation>認證號碼</translation>
    </message>
    <message>
        <source>Change Action</source>
        <translation>變更後活動類型</translation>
    </message>
    <message>
        <source>Change Time</source>
        <translation>活動類型變更日期時間</translation>
    </message>
    <message>
        <source>Changing scale, please wait.....</source>
        <translation>比例尺切換中，請稍後...</translation>
    </message>
    <message>
        <source>Chart</source>
        <translation>行車曲線</translation>
    </message>
    <message>
        <source>Chinese</source>
        <translation>中文</translation>
    </message>
    <message>
        <source>Choose Folder</source>
        <translation>選擇資料夾</translation>
    </message>
    <message>
        <source>Connet RS232...</source>
        <translation>RS232連線</translation>
    </message>
    <message>
        <source>Count</source>
        <translation>同類型次數</translation>
    </message>
    <message>
        <source>Count:</source>
        <translation>筆數:</translation>
    </message>
    <message>
        <source>Create</source>
        <translation>建立駕駛資訊</translation>
    </message>
    <message>
        <source>DVR creat vdr file.....</source>
        <translation>DVR 建立查詢資料中，請稍後…</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>日期</translation>
    </message>
    <message>
        <source>DateTime</source>
        <translation>日期時間</translation>
    </message>
    <message>
        <source>Debug</source>
        <translation>除錯模式</translation>
    </message>
    <message>
        <source>Devcie Info</source>
        <translation>裝置資訊</translation>
    </message>
    <message>
        <source>TavrinPlayer</source>
        <translation>Tavrin Player</translation>
    </message>
    <message>
        <source>Disconnecting Serial Port?</source>
        <translation>斷開連線?</translation>
    </message>
    <message>
        <source>Disconnet...</source>
        <translation>RS232斷線</translation>
    </message>
    <message>
        <source>Download Fail</source>
        <translation>下載失敗</translation>
    </message>
    <message>
        <source>Downlog Package.....</source>
        <translation>資料傳輸中.....</translation>
    </message>
    <message>
        <source>Driver</source>
        <translation>駕駛活動</translation>
    </message>
    <message>
        <source>Driver Activity</source>
        <translation>駕駛活動</translation>
    </message>
    <message>
        <source>Driver Info.</source>
        <translation>駕駛活動類型資料</translation>
    </message>
    <message>
        <source>Driver-1</source>
        <translation type="vanished">駕駛-1 資訊</translation>
    </message>
    <message>
        <source>Driver-2</source>
        <translation type="vanished">駕駛-2 資訊</translation>
    </message>
    <message>
        <source>Driving</source>
        <translation>行駛中</translation>
    </message>
    <message>
        <source>Driving Over</source>
        <translation>駕駛超時</translation>
    </message>
    <message>
        <source>Driving Time</source>
        <translation>行駛時間</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>持續時間</translation>
    </message>
    <message>
        <source>English</source>
        <translation>英文</translation>
    </message>
    <message>
        <source>Error : Check sum</source>
        <translation>檢查碼錯誤</translation>
    </message>
    <message>
        <source>Error Record</source>
        <translation>故障紀錄</translation>
    </message>
    <message>
        <source>Event Record</source>
        <translation>事件紀錄</translation>
    </message>
    <message>
        <source>FW InstallTime</source>
        <translation>軟體安裝時間</translation>
    </message>
    <message>
        <source>FW Version</source>
        <translation>軟體版號</translation>
    </message>
    <message>
        <source>Fault &amp; Event</source>
        <translation>事件及故障</translation>
    </message>
    <message>
        <source>File name formate error</source>
        <translation>檔案名稱格式錯誤</translation>
    </message>
    <message>
        <source>GPS Fail</source>
        <translation>GPS故障</translation>
    </message>
    <message>
        <source>High</source>
        <translation>高度</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>駕駛姓名</translation>
    </message>
    <message>
        <source>Import Floder</source>
        <translation>匯入多日資料</translation>
    </message>
    <message>
        <source>Import Tar</source>
        <translation>匯入資料</translation>
    </message>
    <message>
        <source>Index</source>
        <translation>索引</translation>
    </message>
    <message>
        <source>Index    </source>
        <translation type="vanished">索引</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>資訊</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>語系</translation>
    </message>
    <message>
        <source>Latitude</source>
        <translation>緯度</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>定位資料</translation>
    </message>
    <message>
        <source>Longitude</source>
        <translation>經度</translation>
    </message>
    <message>
        <source>Map</source>
        <translation>地圖</translation>
    </message>
    <message>
        <source>Mfd. Date</source>
        <translation>製造年份</translation>
    </message>
    <message>
        <source>Mileage</source>
        <translation>里程</translation>
    </message>
    <message>
        <source>Mileage(Km)</source>
        <translation type="vanished">累計里程(km)</translation>
    </message>
    <message>
        <source>Mileage(km)</source>
        <translation>累計里程(km)</translation>
    </message>
    <message>
        <source>No data in the file !!</source>
        <translation>檔案無資料 !!</translation>
    </message>
    <message>
        <source>Open File...</source>
        <translation>匯入單日資料</translation>
    </message>
    <message>
        <source>Open Tar File error</source>
        <translation>檔案無法開啟</translation>
    </message>
    <message>
        <source>Opening file, please wait.....</source>
        <translation>檔案解析中，請稍後…</translation>
    </message>
    <message>
        <source>Operator</source>
        <translation>操作者</translation>
    </message>
    <message>
        <source>Please select have &apos;vdr&apos; files folder</source>
        <translation>請選擇有&apos;vdr&apos;檔的資料夾</translation>
    </message>
    <message>
        <source>Power Loss</source>
        <translation>電源供應中斷</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>列印</translation>
    </message>
    <message>
        <source>Recent Time</source>
        <translation> └ 時間區段</translation>
    </message>
    <message>
        <source>Resting</source>
        <translation>休息中</translation>
    </message>
    <message>
        <source>Resting Time</source>
        <translation>休息時間</translation>
    </message>
    <message>
        <source>SOC Fail</source>
        <translation>主系統無回應</translation>
    </message>
    <message>
        <source>Save on </source>
        <translation>儲存在 </translation>
    </message>
    <message>
        <source>Security Event</source>
        <translation>安全防護攻擊</translation>
    </message>
    <message>
        <source>Select Date</source>
        <translation> └ 選擇日期</translation>
    </message>
    <message>
        <source>Serial No.</source>
        <translation>設備序號</translation>
    </message>
    <message>
        <source>Serial port error. Please check Serial port....</source>
        <translation>資料格式錯誤，請確認RS232是否連線正確…</translation>
    </message>
    <message>
        <source>Serial port error. Please try again later....</source>
        <translation>接收資料命令錯誤，請重新連線…</translation>
    </message>
    <message>
        <source>SerialPort can not open</source>
        <translation>串口無法連接</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>車速</translation>
    </message>
    <message>
        <source>Speed (0.5sec)</source>
        <translation>每0.5秒車速紀錄(km/h)</translation>
    </message>
    <message>
        <source>Speed AVG</source>
        <translation>平均速度</translation>
    </message>
    <message>
        <source>Speed History</source>
        <translation>車速記錄</translation>
    </message>
    <message>
        <source>Speed Info</source>
        <translation>車速記錄</translation>
    </message>
    <message>
        <source>Speed Info.</source>
        <translation>車速報表</translation>
    </message>
    <message>
        <source>Speed Pulse Fail</source>
        <translation>車速線失效</translation>
    </message>
    <message>
        <source>Standby</source>
        <translation>待班中</translation>
    </message>
    <message>
        <source>Standby Time</source>
        <translation>待班時間</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>開始時間</translation>
    </message>
    <message>
        <source>Start Time</source>
        <translation>開始日期時間</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>駕駛狀態</translation>
    </message>
    <message>
        <source>Stop Time</source>
        <translation>車停時間</translation>
    </message>
    <message>
        <source>Stopping</source>
        <translation>車停中</translation>
    </message>
    <message>
        <source>Storage Fail</source>
        <translation>EMMC故障</translation>
    </message>
    <message>
        <source>Tar File name formate error</source>
        <translation>檔案名稱格式錯誤</translation>
    </message>
    <message>
        <source>Technology</source>
        <translation>技術資料</translation>
    </message>
    <message>
        <source>Threshold</source>
        <translation>門檻值</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>時間</translation>
    </message>
    <message>
        <source>Tool</source>
        <translation>工具</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>類型</translation>
    </message>
    <message>
        <source>USB ID</source>
        <translation>駕駛資訊設定</translation>
    </message>
    <message>
        <source>Vendor</source>
        <translation>製造商名稱</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>版本</translation>
    </message>
    <message>
        <source>Version:</source>
        <translation>版本:</translation>
    </message>
    <message>
        <source>Viewer</source>
        <translation>視窗</translation>
    </message>
    <message>
        <source>about</source>
        <translation>關於</translation>
    </message>
    <message>
        <source>continuing</source>
        <translation>持續中</translation>
    </message>
    <message>
        <source>gps</source>
        <translation>GPS</translation>
    </message>
    <message>
        <source>index</source>
        <translation>編號</translation>
    </message>
    <message>
        <source>snapshot</source>
        <translation>截圖</translation>
    </message>
    <message>
        <source>speed</source>
        <translation>車速</translation>
    </message>
    <message>
        <source>Date: </source>
        <translation type="vanished">日期: </translation>
    </message>
    <message>
        <source>Speed: </source>
        <translation type="vanished">車速: </translation>
    </message>
    <message>
        <source>Time: </source>
        <translation type="vanished">時間: </translation>
    </message>
    <message>
        <source>The file is damaged: it ends before all of its blocks. Only the blocks before the damage are shown.</source>
        <translation>檔案已損毀：檔案在全部區塊結束前即已截斷，僅顯示損毀前的區塊。</translation>
    </message>
    <message>
        <source>The screenshot could not be saved on %1</source>
        <translation>截圖無法儲存在 %1</translation>
    </message>
    <message>
        <source>These days could not be imported:</source>
        <translation>下列日期的資料無法匯入:</translation>
    </message>
    <message>
        <source>Tar archive(*.tar)</source>
        <translation>壓縮檔(*.tar)</translation>
    </message>
    <message>
        <source>All files(*)</source>
        <translation>所有檔案(*)</translation>
    </message>
    <message>
        <source>These days could not be written: %1</source>
        <translation>下列日期的檔案無法寫入: %1</translation>
    </message>
    <message>
        <source>Error : can not write %1</source>
        <translation>錯誤 : 無法寫入 %1</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>記錄</translation>
    </message>
    <message>
        <source>Item</source>
        <translation>項目</translation>
    </message>
    <message>
        <source>Export table…</source>
        <translation>匯出表格…</translation>
    </message>
    <message>
        <source>Export table</source>
        <translation>匯出表格</translation>
    </message>
    <message>
        <source>CSV files(*.csv)</source>
        <translation>CSV 檔案(*.csv)</translation>
    </message>
    <message>
        <source>Can not write %1</source>
        <translation>無法寫入 %1</translation>
    </message>
    <message>
        <source>Disconnect the serial port before opening files dropped on the window</source>
        <translation>請先中斷串列埠連線，再開啟拖放到視窗的檔案</translation>
    </message>
    <message>
        <source>Only a &apos;vdr&apos; file, a folder or a &apos;tar&apos; archive can be dropped here</source>
        <translation>此處只能拖放 &apos;vdr&apos; 檔案、資料夾或 &apos;tar&apos; 壓縮檔</translation>
    </message>
    <message>
        <source>A download is running: wait for its end or cancel it</source>
        <translation>正在下載資料，請等待下載結束或取消下載</translation>
    </message>
    <message>
        <source>Disconnect the serial port before opening a file</source>
        <translation>請先中斷串列埠連線，再開啟檔案</translation>
    </message>
    <message>
        <source>The recorder stopped answering at %1. Please check Serial port....</source>
        <translation>記錄器在 %1 停止回應，請確認RS232是否連線正確…</translation>
    </message>
    <message>
        <source>These days were not downloaded: %1</source>
        <translation>下列日期的資料未下載: %1</translation>
    </message>
    <message>
        <source>%1 no longer exists; it was taken off the recent list.</source>
        <translation>%1 已不存在，已從最近開啟的清單移除。</translation>
    </message>
    <message>
        <source>File</source>
        <translation>檔案</translation>
    </message>
    <message>
        <source>Recent</source>
        <translation>最近開啟</translation>
    </message>
    <message>
        <source>Open File…</source>
        <translation>匯入單日資料…</translation>
    </message>
    <message>
        <source>Import Folder…</source>
        <translation>匯入多日資料…</translation>
    </message>
    <message>
        <source>Import Tar…</source>
        <translation>匯入資料…</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>結束</translation>
    </message>
    <message>
        <source>Table saved: %1</source>
        <translation>表格已儲存: %1</translation>
    </message>
    <message>
        <source>The name must look like %1</source>
        <translation>檔案名稱應如 %1</translation>
    </message>
    <message>
        <source>Route saved: %1</source>
        <translation>路線已儲存: %1</translation>
    </message>
    <message>
        <source>PDF saved: %1</source>
        <translation>PDF 已儲存: %1</translation>
    </message>
    <message>
        <source>Export route…</source>
        <translation>匯出路線…</translation>
    </message>
    <message>
        <source>No route to export: %1</source>
        <translation>沒有可匯出的路線：%1</translation>
    </message>
    <message>
        <source>GPX files(*.gpx)</source>
        <translation>GPX 檔案(*.gpx)</translation>
    </message>
    <message>
        <source>KML files(*.kml)</source>
        <translation>KML 檔案(*.kml)</translation>
    </message>
    <message>
        <source>Export route</source>
        <translation>匯出路線</translation>
    </message>
    <message>
        <source>Period</source>
        <translation>期間</translation>
    </message>
</context>
<context>
    <name>PeriodPage</name>
    <message>
        <source>%1: cannot read: %2</source>
        <translation>%1：無法讀取：%2</translation>
    </message>
    <message>
        <source>No days in the date list</source>
        <translation>日期清單中沒有日期</translation>
    </message>
    <message>
        <source>%1 to %2: %3 day(s), %4 day file(s) read; %5 breach(es), %6 allowed only under the exception, %7 gap(s) in the records</source>
        <translation>%1 至 %2：共 %3 天，讀取 %4 個日檔；違規 %5 項，僅於例外情形允許 %6 項，紀錄缺漏 %7 項</translation>
    </message>
    <message>
        <source>Driving hours per day</source>
        <translation>每日駕駛時數</translation>
    </message>
    <message>
        <source>Hours</source>
        <translation>小時</translation>
    </message>
    <message>
        <source>Daily limit (%1)</source>
        <translation>每日上限（%1）</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>日期</translation>
    </message>
    <message>
        <source>Vehicle</source>
        <translation>車輛</translation>
    </message>
    <message>
        <source>Distance (km)</source>
        <translation>行駛里程（公里）</translation>
    </message>
    <message>
        <source>Driving by driver</source>
        <translation>各駕駛人駕駛時間</translation>
    </message>
    <message>
        <source>Longest continuous</source>
        <translation>最長連續駕駛</translation>
    </message>
    <message>
        <source>Top speed (km/h)</source>
        <translation>最高速度（km/h）</translation>
    </message>
    <message>
        <source>Above %1 km/h</source>
        <translation>超過 %1 km/h</translation>
    </message>
    <message>
        <source>Faults / events</source>
        <translation>故障／事件</translation>
    </message>
    <message>
        <source>No day file: a gap in the records</source>
        <translation>沒有日檔：紀錄缺漏</translation>
    </message>
    <message>
        <source>Day file not used: its checksum does not match</source>
        <translation>日檔未採用：檢查碼不符</translation>
    </message>
    <message>
        <source>driving records unusable</source>
        <translation>駕駛紀錄無法使用</translation>
    </message>
    <message>
        <source>Driver</source>
        <translation>駕駛人</translation>
    </message>
    <message>
        <source>Rule</source>
        <translation>規則</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>類別</translation>
    </message>
    <message>
        <source>Start - End</source>
        <translation>開始 - 結束</translation>
    </message>
    <message>
        <source>Finding</source>
        <translation>查核結果</translation>
    </message>
    <message>
        <source>Period</source>
        <translation>期間</translation>
    </message>
    <message>
        <source>No printer is installed. Save the page as a PDF file instead?</source>
        <translation>未安裝印表機。是否改將此頁儲存為 PDF 檔？</translation>
    </message>
    <message>
        <source>Save as PDF</source>
        <translation type="vanished">儲存為 PDF</translation>
    </message>
    <message>
        <source>PDF files (*.pdf)</source>
        <translation type="vanished">PDF 檔案 (*.pdf)</translation>
    </message>
    <message>
        <source>The page could not be printed.</source>
        <translation>此頁無法列印。</translation>
    </message>
    <message>
        <source>The page could not be saved as a PDF file:
%1</source>
        <translation>此頁無法儲存為 PDF 檔：
%1</translation>
    </message>
    <message>
        <source>%1 to %2, a bar a day</source>
        <translation>%1 至 %2，每日一柱</translation>
    </message>
</context>
<context>
    <name>RecentTimeWidget</name>
    <message>
        <source> Hour</source>
        <translation> 小時</translation>
    </message>
    <message>
        <source>Last </source>
        <translation>最近 </translation>
    </message>
    <message>
        <source>Recent Time</source>
        <translation>時間區段</translation>
    </message>
    <message>
        <source>Recent Time:</source>
        <translation>時間區段:</translation>
    </message>
</context>
<context>
    <name>RouteMap</name>
    <message>
        <source>Time: %1
Speed: %2 km/h
Latitude: %3
Longitude: %4</source>
        <translation>時間: %1
車速: %2 km/h
緯度: %3
經度: %4</translation>
    </message>
    <message>
        <source>No fix with a position on this day</source>
        <translation>本日沒有定位資料</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>車速</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>起點</translation>
    </message>
    <message>
        <source>End</source>
        <translation>終點</translation>
    </message>
</context>
<context>
    <name>SpeedPlot</name>
    <message>
        <source>Event: %1</source>
        <translation>事件：%1</translation>
    </message>
    <message>
        <source>Fault: %1</source>
        <translation>故障：%1</translation>
    </message>
    <message>
        <source>Speed above %1 km/h</source>
        <translation>速度超過 %1 km/h</translation>
    </message>
</context>
<context>
    <name>ZtCreateDriverKeyDialog</name>
    <message>
        <source> success!</source>
        <translation>成功!</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Create </source>
        <translation>建立駕駛資訊</translation>
    </message>
    <message>
        <source>Dialog</source>
        <translation>建立駕駛資訊</translation>
    </message>
    <message>
        <source>ID Format Error!</source>
        <translation>駕駛代碼格式錯誤!</translation>
    </message>
    <message>
        <source>ID lenght is too long</source>
        <translation>駕駛代碼超出長度限制</translation>
    </message>
    <message>
        <source>ID:</source>
        <translation>駕駛代碼:</translation>
    </message>
    <message>
        <source>Name Format Error!</source>
        <translation>駕駛姓名格式錯誤!</translation>
    </message>
    <message>
        <source>Name lenght is too long</source>
        <translation>駕駛姓名超出長度限制</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>駕駛姓名:</translation>
    </message>
    <message>
        <source>No save path!</source>
        <translation>無儲存路徑!</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>確認</translation>
    </message>
    <message>
        <source>Open Directory</source>
        <translation>開啟資料夾</translation>
    </message>
    <message>
        <source>Path</source>
        <translation>儲存路徑</translation>
    </message>
    <message>
        <source>The driver key file could not be written:
%1
%2</source>
        <translation>駕駛資訊檔案無法寫入:
%1
%2</translation>
    </message>
</context>
<context>
    <name>ZtPopWaitingWidget</name>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>ZtPrintWidget</name>
    <message>
        <source>Car No.</source>
        <translation>車牌號碼</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>日期</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>駕駛姓名</translation>
    </message>
    <message>
        <source>Mileage</source>
        <translation>里程</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>預覽列印</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>列印</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>車速</translation>
    </message>
    <message>
        <source>Speed History</source>
        <translation>車速記錄</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>駕駛狀態</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>時間</translation>
    </message>
    <message>
        <source>The report could not be printed.</source>
        <translation>報表無法列印。</translation>
    </message>
    <message>
        <source>No printer is installed. Save the report as a PDF file instead?</source>
        <translation>未安裝印表機。是否改為將報表儲存為 PDF 檔案?</translation>
    </message>
    <message>
        <source>Save as PDF</source>
        <translation>儲存為 PDF</translation>
    </message>
    <message>
        <source>PDF files (*.pdf)</source>
        <translation>PDF 檔案 (*.pdf)</translation>
    </message>
    <message>
        <source>The report could not be saved as a PDF file:
%1</source>
        <translation>報表無法儲存為 PDF 檔案:
%1</translation>
    </message>
</context>
<context>
    <name>ZtSelectDatesDialog</name>
    <message>
        <source>Calendar</source>
        <translation>日曆</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Dialog</source>
        <translation>選擇日期</translation>
    </message>
    <message>
        <source>End (YY/MM/DD):</source>
        <translation>結束日期 (年/月/日):</translation>
    </message>
    <message>
        <source>Export time exceeds 30 days</source>
        <translation>匯出時間超過30天,
請重新輸入</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>確認</translation>
    </message>
    <message>
        <source>Start (YY/MM/DD):</source>
        <translation>開始日期 (年/月/日):</translation>
    </message>
    <message>
        <source>Start time is greater than end time</source>
        <translation>開始時間超出結束時間,
請重新輸入</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>訊息</translation>
    </message>
</context>
<context>
    <name>ZtSerialPortDialog</name>
    <message>
        <source>Baud Rate:</source>
        <translation>波特率:</translation>
    </message>
    <message>
        <source>Data Bits:</source>
        <translation>數據位:</translation>
    </message>
    <message>
        <source>Flow Control:</source>
        <translation>流控制:</translation>
    </message>
    <message>
        <source>Parity:</source>
        <translation>優先權:</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>端口號:</translation>
    </message>
    <message>
        <source>Serial Port</source>
        <translation>串口</translation>
    </message>
    <message>
        <source>Stop Bits:</source>
        <translation>停止位:</translation>
    </message>
</context>
<context>
    <name>ZtSlider</name>
    <message>
        <source>1 hour</source>
        <translation>1小時</translation>
    </message>
    <message>
        <source>1 min</source>
        <translation>1分</translation>
    </message>
    <message>
        <source>10 min</source>
        <translation>10分</translation>
    </message>
    <message>
        <source>20 min</source>
        <translation>20分</translation>
    </message>
    <message>
        <source>30 min</source>
        <translation>30分</translation>
    </message>
    <message>
        <source>30 sec</source>
        <translation>30秒</translation>
    </message>
    <message>
        <source>5 min</source>
        <translation>5分</translation>
    </message>
    <message>
        <source>Scale</source>
        <translation>刻度</translation>
    </message>
</context>
<context>
    <name>period</name>
    <message>
        <source>none</source>
        <translation>無</translation>
    </message>
    <message>
        <source> (and 1 stop under %1)</source>
        <translation>（另有 1 次不足 %1 的停車）</translation>
    </message>
    <message>
        <source> (and %1 stops under %2)</source>
        <translation>（另有 %1 次不足 %2 的停車）</translation>
    </message>
    <message>
        <source>; %1 over the %2 of the exception</source>
        <translation>；超過例外情形的 %2 達 %1</translation>
    </message>
    <message>
        <source>; allowed only under the exception: at most %1 followed by one %2 break, taken: %3</source>
        <translation>；僅於例外情形允許：最多 %1，其後一次休息 %2，實際休息：%3</translation>
    </message>
    <message>
        <source>; the records end before the next break: allowed only under the exception, if one %1 break followed</source>
        <translation>；紀錄於下次休息前結束：僅於例外情形、且其後有一次 %1 休息時允許</translation>
    </message>
    <message>
        <source>; the exception needs one %1 break after it, taken: %2</source>
        <translation>；例外情形之後須一次休息 %1，實際休息：%2</translation>
    </message>
    <message>
        <source>; the exception needs one %1 break after it, taken in parts</source>
        <translation>；例外情形之後須一次休息 %1，實際分次休息</translation>
    </message>
    <message>
        <source>drove %1 without a %2 break (%3 over the %4 limit%5); breaks taken: %6</source>
        <translation>連續駕駛 %1 未有 %2 休息（超過 %4 上限 %3%5）；已休息：%6</translation>
    </message>
    <message>
        <source>drove %1 in one working day (%2 over the %3 limit)</source>
        <translation>一個工作日駕駛 %1（超過 %3 上限 %2）</translation>
    </message>
    <message>
        <source>worked %1 without a rest of %2 (%3 over the %4 of a working day); longest pause: %5</source>
        <translation>工作 %1 未有 %2 休息（超過工作日 %4 達 %3）；最長停歇：%5</translation>
    </message>
    <message>
        <source>the rest between working days cannot be checked: %1 of its %2 have no records</source>
        <translation>無法查核工作日間的休息：%2 中有 %1 沒有紀錄</translation>
    </message>
    <message>
        <source>reduced rests in the week of %1: %2, at most %3 allowed</source>
        <translation>%1 當週縮短休息 %2 次，最多允許 %3 次</translation>
    </message>
    <message>
        <source>the rest ending on %1 was reduced too, and reduced rests may not fall on consecutive days</source>
        <translation>於 %1 結束的休息亦已縮短，縮短休息不得連續兩日</translation>
    </message>
    <message>
        <source>rested %1 between working days (%2 short of %3); %4</source>
        <translation>工作日間休息 %1（比 %3 少 %2）；%4</translation>
    </message>
    <message>
        <source>the file has no driving records</source>
        <translation>檔案沒有駕駛紀錄</translation>
    </message>
    <message>
        <source>%1: the name gives no day; left out</source>
        <translation>%1：檔名未指明日期；略過</translation>
    </message>
    <message>
        <source>%1: a second file for %2 of %3; left out (%4 is used)</source>
        <translation>%1：%3 於 %2 的第二個檔案；略過（採用 %4）</translation>
    </message>
    <message>
        <source>a period spans at most %1 days; the days before %2 are left out</source>
        <translation>期間最多 %1 天；略過 %2 之前的日期</translation>
    </message>
    <message>
        <source>no day file for %1</source>
        <translation>%1 沒有日檔</translation>
    </message>
    <message>
        <source>no day files from %1 to %2 (%3 days)</source>
        <translation>%1 至 %2 沒有日檔（%3 天）</translation>
    </message>
    <message>
        <source>the day file for %1 is not used: its checksum does not match (%2)</source>
        <translation>%1 的日檔未採用：檢查碼不符（%2）</translation>
    </message>
    <message>
        <source>the driving records of %1 cannot be used: %2 (%3)</source>
        <translation>%1 的駕駛紀錄無法使用：%2（%3）</translation>
    </message>
    <message>
        <source>%1: %2 driving record(s) stamped outside the file&apos;s day left out</source>
        <translation>%1：略過 %2 筆時間不在該檔日期內的駕駛紀錄</translation>
    </message>
    <message>
        <source>%1 h %2 min</source>
        <translation>%1 小時 %2 分</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 分</translation>
    </message>
    <message>
        <source> %1 s</source>
        <translation> %1 秒</translation>
    </message>
    <message>
        <source>(no car number)</source>
        <translation>（無車牌號碼）</translation>
    </message>
    <message>
        <source>breach</source>
        <translation>違規</translation>
    </message>
    <message>
        <source>exception only</source>
        <translation>僅限例外</translation>
    </message>
    <message>
        <source>gap</source>
        <translation>缺漏</translation>
    </message>
    <message>
        <source>daily driving</source>
        <translation>每日駕駛</translation>
    </message>
    <message>
        <source>continuous driving</source>
        <translation>連續駕駛</translation>
    </message>
    <message>
        <source>rest between working days</source>
        <translation>工作日間休息</translation>
    </message>
    <message>
        <source>records</source>
        <translation>紀錄</translation>
    </message>
</context>
</TS>
