<?xml version='1.0' encoding='utf-8'?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AlarmTable</name>
    <message>
        <source>吸笔升降气缸报警</source>
        <translation>Nozzle lift cylinder alarm</translation>
    </message>
    <message>
        <source>NG夹子气缸报警</source>
        <translation>NG gripper cylinder alarm</translation>
    </message>
    <message>
        <source>NG伸缩气缸报警</source>
        <translation>NG tray slide cylinder alarm</translation>
    </message>
    <message>
        <source>缓存阻挡气缸报警</source>
        <translation>Buffer stopper cylinder alarm</translation>
    </message>
    <message>
        <source>组装阻挡气缸报警</source>
        <translation>Assembly stopper cylinder alarm</translation>
    </message>
    <message>
        <source>组装定位升降气缸报警</source>
        <translation>Assembly lift cylinder alarm</translation>
    </message>
    <message>
        <source>取料X轴报警</source>
        <translation>Pick X axis alarm</translation>
    </message>
    <message>
        <source>取料Y轴报警</source>
        <translation>Pick Y axis alarm</translation>
    </message>
    <message>
        <source>取料Z轴报警</source>
        <translation>Pick Z axis alarm</translation>
    </message>
    <message>
        <source>取料Q轴报警</source>
        <translation>Pick Q axis alarm</translation>
    </message>
    <message>
        <source>NGZ轴报警</source>
        <translation>NG Z axis alarm</translation>
    </message>
    <message>
        <source>成品皮带轴报警</source>
        <translation>Product belt axis alarm</translation>
    </message>
    <message>
        <source>空盘皮带轴报警</source>
        <translation>Empty-tray belt axis alarm</translation>
    </message>
    <message>
        <source>取料X轴正限感应</source>
        <translation>Pick X axis positive limit</translation>
    </message>
    <message>
        <source>取料Y轴正限感应</source>
        <translation>Pick Y axis positive limit</translation>
    </message>
    <message>
        <source>取料Z轴正限感应</source>
        <translation>Pick Z axis positive limit</translation>
    </message>
    <message>
        <source>取料Q轴正限感应</source>
        <translation>Pick Q axis positive limit</translation>
    </message>
    <message>
        <source>NGZ轴正限感应</source>
        <translation>NG Z axis positive limit</translation>
    </message>
    <message>
        <source>组装位无盘报警</source>
        <translation>No tray at the assembly position</translation>
    </message>
    <message>
        <source>吸笔真空连续NG报警</source>
        <translation>Nozzle vacuum NG repeatedly</translation>
    </message>
    <message>
        <source>NG盘有料报警</source>
        <translation>NG tray cell occupied alarm</translation>
    </message>
    <message>
        <source>标签拍照报警</source>
        <translation>Label photo alarm</translation>
    </message>
    <message>
        <source>镜筒拍照报警</source>
        <translation>Barrel photo alarm</translation>
    </message>
    <message>
        <source>标签连续拍照NG报警</source>
        <translation>Label photo NG repeatedly</translation>
    </message>
    <message>
        <source>镜筒连续拍照NG报警</source>
        <translation>Barrel photo NG repeatedly</translation>
    </message>
    <message>
        <source>下相机拍照报警</source>
        <translation>Lower camera photo alarm</translation>
    </message>
    <message>
        <source>下相机连续拍照报警</source>
        <translation>Lower camera photo NG repeatedly</translation>
    </message>
    <message>
        <source>组装检查拍照报警</source>
        <translation>Assembly check photo alarm</translation>
    </message>
    <message>
        <source>组装检查连续拍照报警</source>
        <translation>Assembly check photo NG repeatedly</translation>
    </message>
    <message>
        <source>二维码拍照报警</source>
        <translation>QR code photo alarm</translation>
    </message>
    <message>
        <source>二维码连续拍照报警</source>
        <translation>QR code photo NG repeatedly</translation>
    </message>
    <message>
        <source>成品线进料信号超时报警</source>
        <translation>Product line infeed signal timed out</translation>
    </message>
    <message>
        <source>成品线出料信号超时报警</source>
        <translation>Product line outfeed signal timed out</translation>
    </message>
    <message>
        <source>空盘线进料信号超时报警</source>
        <translation>Empty line infeed signal timed out</translation>
    </message>
    <message>
        <source>空盘线出料信号超时报警</source>
        <translation>Empty line outfeed signal timed out</translation>
    </message>
    <message>
        <source>供料器标签用完报警</source>
        <translation>Feeder out of labels</translation>
    </message>
    <message>
        <source>供料器初始化超时报警</source>
        <translation>Feeder initialisation timed out</translation>
    </message>
    <message>
        <source>供料器送料超时报警</source>
        <translation>Feeder feed timed out</translation>
    </message>
    <message>
        <source>安全门打开</source>
        <translation>Safety door open</translation>
    </message>
    <message>
        <source>轴报警</source>
        <translation>Axis alarm</translation>
    </message>
    <message>
        <source>轴正限感应</source>
        <translation>Axis positive limit</translation>
    </message>
    <message>
        <source>急停按下</source>
        <translation>Emergency stop pressed</translation>
    </message>
    <message>
        <source>自动运行中。</source>
        <translation>Running automatically.</translation>
    </message>
    <message>
        <source>已停止。</source>
        <translation>Stopped.</translation>
    </message>
    <message>
        <source>结束生产中。</source>
        <translation>Ending production.</translation>
    </message>
    <message>
        <source>相机1已连接。</source>
        <translation>Camera 1 connected.</translation>
    </message>
    <message>
        <source>相机1连接失败。</source>
        <translation>Camera 1 connection failed.</translation>
    </message>
    <message>
        <source>相机2已连接。</source>
        <translation>Camera 2 connected.</translation>
    </message>
    <message>
        <source>相机2连接失败。</source>
        <translation>Camera 2 connection failed.</translation>
    </message>
    <message>
        <source>组装位无料盘</source>
        <translation>No tray at the assembly position</translation>
    </message>
    <message>
        <source>镜筒NG位无料盘</source>
        <translation>No tray at the barrel NG position</translation>
    </message>
    <message>
        <source>标签NG位无料盒</source>
        <translation>No label NG box</translation>
    </message>
    <message>
        <source>上相机9点标定拍照失败</source>
        <translation>Upper camera 9-point calibration photo failed</translation>
    </message>
    <message>
        <source>下相机9点标定拍照失败</source>
        <translation>Lower camera 9-point calibration photo failed</translation>
    </message>
    <message>
        <source>吸笔真空报警</source>
        <translation>Nozzle vacuum alarm</translation>
    </message>
    <message>
        <source>测高传感器数据超时报警</source>
        <translation>Height sensor data timed out</translation>
    </message>
    <message>
        <source>供料器故障报警</source>
        <translation>Feeder fault alarm</translation>
    </message>
    <message>
        <source>标签有料且拍照失败，请人工清料。</source>
        <translation>Labels left and the photo failed: clear the plate by hand.</translation>
    </message>
    <message>
        <source>板卡扩展模块断开报警</source>
        <translation>Card extension module disconnected</translation>
    </message>
    <message>
        <source>成品料盘满料报警</source>
        <translation>Product tray full</translation>
    </message>
    <message>
        <source>镜筒NG盘满料报警</source>
        <translation>Barrel NG tray full</translation>
    </message>
    <message>
        <source>标签NG盒满料报警</source>
        <translation>Label NG box full</translation>
    </message>
    <message>
        <source>报警</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>MES出站发送失败，错误码=</source>
        <translation>MES check-out send failed, error code=</translation>
    </message>
    <message>
        <source>MES出站通讯反馈错误报警，错误码=</source>
        <translation>MES check-out answered with an error, code=</translation>
    </message>
    <message>
        <source>MES入站发送失败，错误码=</source>
        <translation>MES check-in send failed, error code=</translation>
    </message>
    <message>
        <source>MES入站通讯反馈错误报警，错误码=</source>
        <translation>MES check-in answered with an error, code=</translation>
    </message>
    <message>
        <source>空跑过站模式中。</source>
        <translation>Pass-through mode.</translation>
    </message>
    <message>
        <source>报警代码 %1</source>
        <translation>Alarm code %1</translation>
    </message>
    <message>
        <source>文件保存失败，原文件未改变：</source>
        <translation>Saving a file failed; the old file is unchanged: </translation>
    </message>
    <message>
        <source>控制卡初始化失败，请检查控制卡后重启软件</source>
        <translation>Motion card initialisation failed: check the card and restart the program</translation>
    </message>
</context>
<context>
    <name>Banner</name>
    <message>
        <source>急停按下</source>
        <translation>Emergency stop pressed</translation>
    </message>
    <message>
        <source>安全门打开</source>
        <translation>Safety door open</translation>
    </message>
    <message>
        <source>伺服报警或回原点超时</source>
        <translation>servo alarm or homing timed out</translation>
    </message>
    <message>
        <source>Z轴、NGZ轴回原点超时</source>
        <translation>Z, NG Z homing timed out</translation>
    </message>
    <message>
        <source>吸笔未到上位或Z轴不在安全位</source>
        <translation>nozzle not up or Z not at its safe height</translation>
    </message>
    <message>
        <source>X、Y、Q轴回原点超时</source>
        <translation>X, Y, Q homing timed out</translation>
    </message>
    <message>
        <source>前门</source>
        <translation>front</translation>
    </message>
    <message>
        <source>后门</source>
        <translation>rear</translation>
    </message>
    <message>
        <source>左门</source>
        <translation>left</translation>
    </message>
    <message>
        <source>右门</source>
        <translation>right</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>自动运行中：</source>
        <translation>Running: </translation>
    </message>
    <message>
        <source>（已等待 %1 秒）</source>
        <translation> (waiting %1 s)</translation>
    </message>
    <message>
        <source>报警：</source>
        <translation>Alarm: </translation>
    </message>
    <message>
        <source>（另有 %1 条报警）</source>
        <translation> (%1 more alarms)</translation>
    </message>
    <message>
        <source>无控制卡：控制卡初始化失败，请检查控制卡</source>
        <translation>No motion card: initialisation failed, check the card</translation>
    </message>
    <message>
        <source>急停按下：松开急停后再启动</source>
        <translation>Emergency stop pressed: release it, then reset and start</translation>
    </message>
    <message>
        <source>：</source>
        <translation>: </translation>
    </message>
    <message>
        <source>回原点中……</source>
        <translation>Homing...</translation>
    </message>
    <message>
        <source>未回原点：请按复位</source>
        <translation>Not homed: press Reset</translation>
    </message>
    <message>
        <source>（上次回原点中止：%1）</source>
        <translation> (last homing aborted: %1)</translation>
    </message>
    <message>
        <source>手动模式</source>
        <translation>Manual mode</translation>
    </message>
    <message>
        <source>结束生产中：完成当前产品后停止</source>
        <translation>Ending production: stops after the current product</translation>
    </message>
    <message>
        <source>自动运行中：皮带线过料</source>
        <translation>Running: belt pass-through</translation>
    </message>
    <message>
        <source>自动运行中：成品盘第 %1 穴，标签盘第 %2 穴</source>
        <translation>Running: product tray cell %1, label plate cell %2</translation>
    </message>
    <message>
        <source>待机：请按启动</source>
        <translation>Ready: press Start</translation>
    </message>
    <message>
        <source>已暂停：按启动继续</source>
        <translation>Paused: press Start to continue</translation>
    </message>
    <message>
        <source>等待操作员回答：</source>
        <translation>Waiting for the operator's answer: </translation>
    </message>
    <message>
        <source>启动中：正在读取机器状态……</source>
        <translation>Starting: reading the machine state...</translation>
    </message>
    <message>
        <source>等待上游机台来料盘</source>
        <translation>waiting for a tray from upstream</translation>
    </message>
    <message>
        <source>等待下游机台接收料盘</source>
        <translation>waiting for downstream to take the tray</translation>
    </message>
    <message>
        <source>等待料盘到达皮带线感应器</source>
        <translation>waiting for the tray to reach its belt sensor</translation>
    </message>
    <message>
        <source>等待供料器送标签盘</source>
        <translation>waiting for the feeder</translation>
    </message>
    <message>
        <source>等待MES回复</source>
        <translation>waiting for the MES answer</translation>
    </message>
    <message>
        <source>等待视觉结果</source>
        <translation>waiting for a vision result</translation>
    </message>
    <message>
        <source>等待测高数据</source>
        <translation>waiting for the height reading</translation>
    </message>
    <message>
        <source>等待气缸到位</source>
        <translation>waiting for a cylinder</translation>
    </message>
    <message>
        <source>等待轴到位</source>
        <translation>waiting for an axis</translation>
    </message>
    <message>
        <source>等待感应器信号</source>
        <translation>waiting for a sensor</translation>
    </message>
</context>
<context>
    <name>CVMainWindow</name>
    <message>
        <source>视觉设置</source>
        <translation>Vision</translation>
    </message>
    <message>
        <source>任务</source>
        <translation>Task</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>相机</source>
        <translation>Camera</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>State</translation>
    </message>
    <message>
        <source>X / Y / 角度</source>
        <translation>X / Y / angle</translation>
    </message>
    <message>
        <source>文本</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>任务仿真设置</source>
        <translation>Task simulation settings</translation>
    </message>
    <message>
        <source>判定方式</source>
        <translation>Verdict</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>NG</source>
        <translation>NG</translation>
    </message>
    <message>
        <source>不结束</source>
        <translation>never ends</translation>
    </message>
    <message>
        <source>随机</source>
        <translation>random</translation>
    </message>
    <message>
        <source>NG比例(%)</source>
        <translation>NG ratio (%)</translation>
    </message>
    <message>
        <source>处理时间(ms)</source>
        <translation>Processing time (ms)</translation>
    </message>
    <message>
        <source>文本1</source>
        <translation>Text 1</translation>
    </message>
    <message>
        <source>空：显示偏移；{n} 为流水号</source>
        <translation>Empty: show the offset; {n} is the serial number</translation>
    </message>
    <message>
        <source>保存图片</source>
        <translation>Save images</translation>
    </message>
    <message>
        <source>执行</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>读取参数</source>
        <translation>Read parameters</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>点动</source>
        <translation>Jog</translation>
    </message>
    <message>
        <source>图像</source>
        <translation>Image</translation>
    </message>
    <message>
        <source>相机与标定</source>
        <translation>Cameras and calibration</translation>
    </message>
    <message>
        <source>上相机</source>
        <translation>Upper camera</translation>
    </message>
    <message>
        <source>-</source>
        <translation>-</translation>
    </message>
    <message>
        <source>下相机</source>
        <translation>Lower camera</translation>
    </message>
    <message>
        <source>上相机标定</source>
        <translation>Upper camera calibration</translation>
    </message>
    <message>
        <source>下相机标定</source>
        <translation>Lower camera calibration</translation>
    </message>
    <message>
        <source>配方</source>
        <translation>Recipe</translation>
    </message>
    <message>
        <source>10
列px</source>
        <translation>10
column px</translation>
    </message>
    <message>
        <source>11
行px</source>
        <translation>11
row px</translation>
    </message>
    <message>
        <source>12
角度</source>
        <translation>12
angle</translation>
    </message>
    <message>
        <source>22
角度</source>
        <translation>22
angle</translation>
    </message>
    <message>
        <source>23
分数</source>
        <translation>23
score</translation>
    </message>
    <message>
        <source>24
宽mm</source>
        <translation>24
width mm</translation>
    </message>
    <message>
        <source>25
高mm</source>
        <translation>25
height mm</translation>
    </message>
    <message>
        <source>26
数量</source>
        <translation>26
count</translation>
    </message>
    <message>
        <source>运行中</source>
        <translation>Running</translation>
    </message>
    <message>
        <source>未运行</source>
        <translation>Not run</translation>
    </message>
    <message>
        <source>相机%1</source>
        <translation>Camera %1</translation>
    </message>
    <message>
        <source>图像位置 列 %1  行 %2  分数 %3</source>
        <translation>Image position column %1  row %2  score %3</translation>
    </message>
    <message>
        <source>结果值 %1 必须是数字，"%2" 未采用</source>
        <translation>Result value %1 must be a number; "%2" was not taken</translation>
    </message>
    <message>
        <source>已连接</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>未连接</source>
        <translation>Not connected</translation>
    </message>
    <message>
        <source>已标定  %1 mm/px  残差 %2 mm</source>
        <translation>Calibrated  %1 mm/px  residual %2 mm</translation>
    </message>
    <message>
        <source>未标定（按标称比例）</source>
        <translation>Not calibrated (nominal scale)</translation>
    </message>
    <message>
        <source>任务仿真设置 — %1%2</source>
        <translation>Task simulation settings — %1%2</translation>
    </message>
    <message>
        <source>（登录后可修改）</source>
        <translation> (log in to change)</translation>
    </message>
    <message>
        <source>只在手动模式下执行</source>
        <translation>Runs in manual mode only</translation>
    </message>
    <message>
        <source>已读取视觉参数：%1</source>
        <translation>Vision settings read: %1</translation>
    </message>
    <message>
        <source>视觉参数已保存：%1</source>
        <translation>Vision settings saved: %1</translation>
    </message>
    <message>
        <source>任务 %1 无法执行</source>
        <translation>Task %1 cannot run</translation>
    </message>
    <message>
        <source>T%1 无图像</source>
        <translation>T%1 no image</translation>
    </message>
    <message>
        <source>无图像</source>
        <translation>No image</translation>
    </message>
    <message>
        <source>标签拍照</source>
        <translation>Label photo</translation>
    </message>
    <message>
        <source>下相机标签</source>
        <translation>Lower camera label</translation>
    </message>
    <message>
        <source>组装拍照</source>
        <translation>Assembly photo</translation>
    </message>
    <message>
        <source>二维码</source>
        <translation>QR code</translation>
    </message>
    <message>
        <source>组装检查</source>
        <translation>Assembly check</translation>
    </message>
    <message>
        <source>吸笔零点</source>
        <translation>Nozzle zero angle</translation>
    </message>
    <message>
        <source>上相机九点标定</source>
        <translation>Upper camera 9-point calibration</translation>
    </message>
    <message>
        <source>关联标定取片前</source>
        <translation>Linked calibration before pick</translation>
    </message>
    <message>
        <source>关联标定取片后</source>
        <translation>Linked calibration after pick</translation>
    </message>
    <message>
        <source>标定片放回</source>
        <translation>Calibration plate put back</translation>
    </message>
    <message>
        <source>下相机九点标定</source>
        <translation>Lower camera 9-point calibration</translation>
    </message>
    <message>
        <source>下相机标定片</source>
        <translation>Lower camera calibration plate</translation>
    </message>
    <message>
        <source>空吸笔</source>
        <translation>Empty nozzle</translation>
    </message>
    <message>
        <source>镜筒有无</source>
        <translation>Barrel presence</translation>
    </message>
    <message>
        <source>NG盘检测</source>
        <translation>NG tray check</translation>
    </message>
    <message>
        <source>任务%1</source>
        <translation>Task %1</translation>
    </message>
    <message>
        <source>判定方式 "%1" 无效</source>
        <translation>Verdict "%1" is invalid</translation>
    </message>
    <message>
        <source>NG比例必须在 0 到 1 之间</source>
        <translation>The NG ratio must lie between 0 and 1</translation>
    </message>
    <message>
        <source>处理时间必须在 0 到 60000 ms 之间</source>
        <translation>The processing time must lie between 0 and 60000 ms</translation>
    </message>
    <message>
        <source>结果值 "%1" 无效</source>
        <translation>Result value "%1" is invalid</translation>
    </message>
</context>
<context>
    <name>CardInit</name>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>初始化控制卡失败！</source>
        <translation>Initialising the motion card failed!</translation>
    </message>
    <message>
        <source>下载板卡文件</source>
        <translation>Download card file</translation>
    </message>
    <message>
        <source>下载板卡文件文件失败！</source>
        <translation>Downloading the card file failed!</translation>
    </message>
</context>
<context>
    <name>CurrentRecipe</name>
    <message>
        <source>配方设置文件中的配方名“%1”无效：%2
没有可用的配方。</source>
        <translation>The recipe name "%1" in the recipe setting file is invalid: %2
No recipe is available.</translation>
    </message>
    <message>
        <source>配方设置文件中的配方名“%1”无效：%2
已改用配方“%3”。</source>
        <translation>The recipe name "%1" in the recipe setting file is invalid: %2
Recipe "%3" is used instead.</translation>
    </message>
</context>
<context>
    <name>DateTimeWidget</name>
    <message>
        <source>日</source>
        <translation>Su</translation>
    </message>
    <message>
        <source>一</source>
        <translation>Mo</translation>
    </message>
    <message>
        <source>二</source>
        <translation>Tu</translation>
    </message>
    <message>
        <source>三</source>
        <translation>We</translation>
    </message>
    <message>
        <source>四</source>
        <translation>Th</translation>
    </message>
    <message>
        <source>五</source>
        <translation>Fr</translation>
    </message>
    <message>
        <source>六</source>
        <translation>Sa</translation>
    </message>
    <message>
        <source>今天</source>
        <translation>Today</translation>
    </message>
    <message>
        <source>此刻</source>
        <translation>Now</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>%1月</source>
        <translation>Month %1</translation>
    </message>
    <message>
        <source>%1年</source>
        <translation>%1</translation>
    </message>
</context>
<context>
    <name>Form2</name>
    <message>
        <source>位置设置</source>
        <translation>Positions</translation>
    </message>
    <message>
        <source>保存参数</source>
        <translation>Save
parameters</translation>
    </message>
    <message>
        <source>实时位置</source>
        <translation>Live positions</translation>
    </message>
    <message>
        <source>取料X</source>
        <translation>Pick X</translation>
    </message>
    <message>
        <source>取料Y</source>
        <translation>Pick Y</translation>
    </message>
    <message>
        <source>取料Z</source>
        <translation>Pick Z</translation>
    </message>
    <message>
        <source>取料Q</source>
        <translation>Pick Q</translation>
    </message>
    <message>
        <source>NG Z</source>
        <translation>NG Z</translation>
    </message>
    <message>
        <source>飞达标签取料设置</source>
        <translation>Feeder label pick settings</translation>
    </message>
    <message>
        <source>取标签行数</source>
        <translation>Label rows</translation>
    </message>
    <message>
        <source>取标签列数</source>
        <translation>Label columns</translation>
    </message>
    <message>
        <source>取标签行距</source>
        <translation>Label row pitch</translation>
    </message>
    <message>
        <source>取标签列距</source>
        <translation>Label column pitch</translation>
    </message>
    <message>
        <source>组装料盘设置</source>
        <translation>Product tray settings</translation>
    </message>
    <message>
        <source>成品盘行数</source>
        <translation>Product tray rows</translation>
    </message>
    <message>
        <source>成品盘列数</source>
        <translation>Product tray columns</translation>
    </message>
    <message>
        <source>成品盘行距</source>
        <translation>Product tray row pitch</translation>
    </message>
    <message>
        <source>成品盘列距</source>
        <translation>Product tray column pitch</translation>
    </message>
    <message>
        <source>NG料盘设置</source>
        <translation>NG tray settings</translation>
    </message>
    <message>
        <source>成品NG盘行数</source>
        <translation>NG tray rows</translation>
    </message>
    <message>
        <source>成品NG盘列数</source>
        <translation>NG tray columns</translation>
    </message>
    <message>
        <source>成品NG盘行距</source>
        <translation>NG tray row pitch</translation>
    </message>
    <message>
        <source>成品NG盘列距</source>
        <translation>NG tray column pitch</translation>
    </message>
    <message>
        <source>速度设置</source>
        <translation>Speeds</translation>
    </message>
    <message>
        <source>取料X速度</source>
        <translation>Pick X speed</translation>
    </message>
    <message>
        <source>取料Y速度</source>
        <translation>Pick Y speed</translation>
    </message>
    <message>
        <source>取料Z速度</source>
        <translation>Pick Z speed</translation>
    </message>
    <message>
        <source>取料Q速度</source>
        <translation>Pick Q speed</translation>
    </message>
    <message>
        <source>NG Z速度</source>
        <translation>NG Z speed</translation>
    </message>
    <message>
        <source>拍照设置</source>
        <translation>Photo settings</translation>
    </message>
    <message>
        <source>组装X补偿</source>
        <translation>Assembly X offset</translation>
    </message>
    <message>
        <source>组装Y补偿</source>
        <translation>Assembly Y offset</translation>
    </message>
    <message>
        <source>组装角度补偿</source>
        <translation>Assembly angle offset</translation>
    </message>
    <message>
        <source>组装角度</source>
        <translation>Assembly angle</translation>
    </message>
    <message>
        <source>吸笔零点角度</source>
        <translation>Nozzle zero angle</translation>
    </message>
    <message>
        <source>标签拍照光源</source>
        <translation>Label photo light</translation>
    </message>
    <message>
        <source>环形光</source>
        <translation>Ring light</translation>
    </message>
    <message>
        <source>同轴光</source>
        <translation>Coaxial light</translation>
    </message>
    <message>
        <source>环形+同轴</source>
        <translation>Ring + coaxial</translation>
    </message>
    <message>
        <source>组装拍照光源</source>
        <translation>Assembly photo light</translation>
    </message>
    <message>
        <source>二维码光源</source>
        <translation>QR code light</translation>
    </message>
    <message>
        <source>标定片光源</source>
        <translation>Calibration plate light</translation>
    </message>
    <message>
        <source>拍照光源T</source>
        <translation>Photo light T</translation>
    </message>
    <message>
        <source>拍照延时T</source>
        <translation>Photo delay T</translation>
    </message>
    <message>
        <source>标签拍照NG次数</source>
        <translation>Label photo NG count</translation>
    </message>
    <message>
        <source>吸笔拍照NG次数</source>
        <translation>Nozzle photo NG count</translation>
    </message>
    <message>
        <source>组装拍照NG次数</source>
        <translation>Assembly photo NG count</translation>
    </message>
    <message>
        <source>取标签X补偿</source>
        <translation>Label pick X offset</translation>
    </message>
    <message>
        <source>取标签Y补偿</source>
        <translation>Label pick Y offset</translation>
    </message>
    <message>
        <source>取标签角度补偿</source>
        <translation>Label pick angle offset</translation>
    </message>
    <message>
        <source>组装偏心X</source>
        <translation>Assembly eccentricity X</translation>
    </message>
    <message>
        <source>组装偏心Y</source>
        <translation>Assembly eccentricity Y</translation>
    </message>
    <message>
        <source>时间参数</source>
        <translation>Times</translation>
    </message>
    <message>
        <source>吸笔真空T</source>
        <translation>Nozzle vacuum T</translation>
    </message>
    <message>
        <source>真空报警T</source>
        <translation>Vacuum alarm T</translation>
    </message>
    <message>
        <source>吸笔反吹T</source>
        <translation>Nozzle blow T</translation>
    </message>
    <message>
        <source>吸笔升降T</source>
        <translation>Nozzle lift T</translation>
    </message>
    <message>
        <source>NG 夹子T</source>
        <translation>NG gripper T</translation>
    </message>
    <message>
        <source>真空跳过次数</source>
        <translation>Vacuum skip count</translation>
    </message>
    <message>
        <source>标签取料位置设置</source>
        <translation>Label pick positions</translation>
    </message>
    <message>
        <source>标签取料起始</source>
        <translation>Label pick start</translation>
    </message>
    <message>
        <source>X</source>
        <translation>X</translation>
    </message>
    <message>
        <source>Y</source>
        <translation>Y</translation>
    </message>
    <message>
        <source>Z</source>
        <translation>Z</translation>
    </message>
    <message>
        <source>示教</source>
        <translation>Teach</translation>
    </message>
    <message>
        <source>Z起始GO</source>
        <translation>Z to start GO</translation>
    </message>
    <message>
        <source>XY起始GO</source>
        <translation>XY to start GO</translation>
    </message>
    <message>
        <source>料号</source>
        <translation>Cell</translation>
    </message>
    <message>
        <source>XY料号GO</source>
        <translation>XY to cell GO</translation>
    </message>
    <message>
        <source>NG盘位置设置</source>
        <translation>NG tray positions</translation>
    </message>
    <message>
        <source>放NG盘起始</source>
        <translation>NG tray put start</translation>
    </message>
    <message>
        <source>标签NG盒起始</source>
        <translation>Label NG box start</translation>
    </message>
    <message>
        <source>取组装盘NG起始</source>
        <translation>NG pick from product tray start</translation>
    </message>
    <message>
        <source>NG盘拍照起始</source>
        <translation>NG tray photo start</translation>
    </message>
    <message>
        <source>NG盘拍照</source>
        <translation>NG tray photo</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>组装料盘位置设置</source>
        <translation>Product tray positions</translation>
    </message>
    <message>
        <source>成品盘组装起始</source>
        <translation>Product tray assembly start</translation>
    </message>
    <message>
        <source>相机拍照位置</source>
        <translation>Camera photo positions</translation>
    </message>
    <message>
        <source>取料Z安全位</source>
        <translation>Pick Z safe height</translation>
    </message>
    <message>
        <source>取料Z安全GO</source>
        <translation>Pick Z safe GO</translation>
    </message>
    <message>
        <source>所有Z安全GO</source>
        <translation>All Z safe GO</translation>
    </message>
    <message>
        <source>下相机拍照位</source>
        <translation>Lower camera photo position</translation>
    </message>
    <message>
        <source>下相机拍拍照</source>
        <translation>Lower camera photo</translation>
    </message>
    <message>
        <source>组装拍照起始</source>
        <translation>Assembly photo start</translation>
    </message>
    <message>
        <source>组装拍照</source>
        <translation>Assembly photo</translation>
    </message>
    <message>
        <source>组装检查拍照</source>
        <translation>Assembly check photo</translation>
    </message>
    <message>
        <source>标签拍照起始</source>
        <translation>Label photo start</translation>
    </message>
    <message>
        <source>标签拍照拍照</source>
        <translation>Label photo</translation>
    </message>
    <message>
        <source>组装校正位</source>
        <translation>Assembly correction position</translation>
    </message>
    <message>
        <source>Q</source>
        <translation>Q</translation>
    </message>
    <message>
        <source>XYQ校正GO</source>
        <translation>XYQ corrected GO</translation>
    </message>
    <message>
        <source>标签取料校正位</source>
        <translation>Label pick correction position</translation>
    </message>
    <message>
        <source>二维码拍照起始</source>
        <translation>QR code photo start</translation>
    </message>
    <message>
        <source>二维码拍照</source>
        <translation>QR code photo</translation>
    </message>
    <message>
        <source>吸笔Q角度校正</source>
        <translation>Nozzle Q angle correction</translation>
    </message>
    <message>
        <source>下相机角度</source>
        <translation>Lower camera angle</translation>
    </message>
    <message>
        <source>镜筒角度</source>
        <translation>Barrel angle</translation>
    </message>
    <message>
        <source>校正角度</source>
        <translation>Corrected angle</translation>
    </message>
    <message>
        <source>角度校正GO</source>
        <translation>Angle correction GO</translation>
    </message>
    <message>
        <source>单动测试</source>
        <translation>Single actions</translation>
    </message>
    <message>
        <source>组装单动</source>
        <translation>Assembly single action</translation>
    </message>
    <message>
        <source>取标签单动</source>
        <translation>Label pick single action</translation>
    </message>
    <message>
        <source>标签抛料单动</source>
        <translation>Label discard single action</translation>
    </message>
    <message>
        <source>测高设置</source>
        <translation>Height check</translation>
    </message>
    <message>
        <source>测高起始</source>
        <translation>Height check start</translation>
    </message>
    <message>
        <source>测高参数</source>
        <translation>Height parameters</translation>
    </message>
    <message>
        <source>测高补偿值</source>
        <translation>Height offset</translation>
    </message>
    <message>
        <source>测高上限</source>
        <translation>Height upper limit</translation>
    </message>
    <message>
        <source>测高下限</source>
        <translation>Height lower limit</translation>
    </message>
    <message>
        <source>测高原始值</source>
        <translation>Height raw value</translation>
    </message>
    <message>
        <source>测高校准后</source>
        <translation>Height calibrated</translation>
    </message>
    <message>
        <source>测高结果</source>
        <translation>Height result</translation>
    </message>
    <message>
        <source>空</source>
        <translation>Spare</translation>
    </message>
</context>
<context>
    <name>Form3</name>
    <message>
        <source>皮带线设置</source>
        <translation>Belt lines</translation>
    </message>
    <message>
        <source>保存参数</source>
        <translation>Save
parameters</translation>
    </message>
    <message>
        <source>时间参数</source>
        <translation>Times</translation>
    </message>
    <message>
        <source>联机超时报警T</source>
        <translation>Hand-shake timeout T</translation>
    </message>
    <message>
        <source>成品线皮带速度</source>
        <translation>Product belt speed</translation>
    </message>
    <message>
        <source>空盘线皮带速度</source>
        <translation>Empty belt speed</translation>
    </message>
    <message>
        <source>料盘到位延时</source>
        <translation>Tray in place delay</translation>
    </message>
    <message>
        <source>皮带初始化时间</source>
        <translation>Belt initialisation time</translation>
    </message>
    <message>
        <source>皮带线测试</source>
        <translation>Belt line tests</translation>
    </message>
    <message>
        <source>成品线进料测试</source>
        <translation>Product line infeed test</translation>
    </message>
    <message>
        <source>成品线出料测试</source>
        <translation>Product line outfeed test</translation>
    </message>
    <message>
        <source>空盘线进料测试</source>
        <translation>Empty line infeed test</translation>
    </message>
    <message>
        <source>空盘线出料测试</source>
        <translation>Empty line outfeed test</translation>
    </message>
    <message>
        <source>信号复位</source>
        <translation>Signal resets</translation>
    </message>
    <message>
        <source>成品线进盘信号复位</source>
        <translation>Product line in signal reset</translation>
    </message>
    <message>
        <source>成品线出盘信号复位</source>
        <translation>Product line out signal reset</translation>
    </message>
    <message>
        <source>空盘线进盘信号复位</source>
        <translation>Empty line in signal reset</translation>
    </message>
    <message>
        <source>空盘线出盘信号复位</source>
        <translation>Empty line out signal reset</translation>
    </message>
    <message>
        <source>流水线前后机台信号对接异常或者报警时，在不整机复位的情况下，先切换到手动模式再点击上面的信号复位，实现重新开始。</source>
        <translation>When the hand-shake with the neighbour machines goes wrong or raises an alarm, switch to manual mode and press the signal reset above to start the exchange again without resetting the whole machine.</translation>
    </message>
    <message>
        <source>联机信号</source>
        <translation>Hand-shake signals</translation>
    </message>
    <message>
        <source>IO模拟测试</source>
        <translation>I/O simulation test</translation>
    </message>
    <message>
        <source>成品线进 输入</source>
        <translation>Product line in: inputs</translation>
    </message>
    <message>
        <source>成品线进 输出</source>
        <translation>Product line in: outputs</translation>
    </message>
    <message>
        <source>成品线进IN_Ready</source>
        <translation>Product line in IN_Ready</translation>
    </message>
    <message>
        <source>成品线进OT_Ready</source>
        <translation>Product line in OT_Ready</translation>
    </message>
    <message>
        <source>成品线进IN_Busy</source>
        <translation>Product line in IN_Busy</translation>
    </message>
    <message>
        <source>成品线进OT_Recive</source>
        <translation>Product line in OT_Recive</translation>
    </message>
    <message>
        <source>成品线进IN_Beg</source>
        <translation>Product line in IN_Beg</translation>
    </message>
    <message>
        <source>成品线进OT_Compeled</source>
        <translation>Product line in OT_Compeled</translation>
    </message>
    <message>
        <source>成品线出 输入</source>
        <translation>Product line out: inputs</translation>
    </message>
    <message>
        <source>成品线出 输出</source>
        <translation>Product line out: outputs</translation>
    </message>
    <message>
        <source>成品线出IN_Ready</source>
        <translation>Product line out IN_Ready</translation>
    </message>
    <message>
        <source>成品线出OT_Ready</source>
        <translation>Product line out OT_Ready</translation>
    </message>
    <message>
        <source>成品线出IN_Recive</source>
        <translation>Product line out IN_Recive</translation>
    </message>
    <message>
        <source>成品线出OT_Busy</source>
        <translation>Product line out OT_Busy</translation>
    </message>
    <message>
        <source>成品线出IN_Compeled</source>
        <translation>Product line out IN_Compeled</translation>
    </message>
    <message>
        <source>成品线出OT_Beg</source>
        <translation>Product line out OT_Beg</translation>
    </message>
    <message>
        <source>空盘线进 输入</source>
        <translation>Empty line in: inputs</translation>
    </message>
    <message>
        <source>空盘线进 输出</source>
        <translation>Empty line in: outputs</translation>
    </message>
    <message>
        <source>空盘线进IN_Ready</source>
        <translation>Empty line in IN_Ready</translation>
    </message>
    <message>
        <source>空盘线进OT_Ready</source>
        <translation>Empty line in OT_Ready</translation>
    </message>
    <message>
        <source>空盘线进IN_Busy</source>
        <translation>Empty line in IN_Busy</translation>
    </message>
    <message>
        <source>空盘线进OT_Recive</source>
        <translation>Empty line in OT_Recive</translation>
    </message>
    <message>
        <source>空盘线进IN_Beg</source>
        <translation>Empty line in IN_Beg</translation>
    </message>
    <message>
        <source>空盘线进OT_Compeled</source>
        <translation>Empty line in OT_Compeled</translation>
    </message>
    <message>
        <source>空盘线出 输入</source>
        <translation>Empty line out: inputs</translation>
    </message>
    <message>
        <source>空盘线出 输出</source>
        <translation>Empty line out: outputs</translation>
    </message>
    <message>
        <source>空盘线出IN_Ready</source>
        <translation>Empty line out IN_Ready</translation>
    </message>
    <message>
        <source>空盘线出OT_Ready</source>
        <translation>Empty line out OT_Ready</translation>
    </message>
    <message>
        <source>空盘线出IN_Recive</source>
        <translation>Empty line out IN_Recive</translation>
    </message>
    <message>
        <source>空盘线出OT_Busy</source>
        <translation>Empty line out OT_Busy</translation>
    </message>
    <message>
        <source>空盘线出IN_Compeled</source>
        <translation>Empty line out IN_Compeled</translation>
    </message>
    <message>
        <source>空盘线出OT_Beg</source>
        <translation>Empty line out OT_Beg</translation>
    </message>
</context>
<context>
    <name>Form4</name>
    <message>
        <source>标定设置</source>
        <translation>Calibration</translation>
    </message>
    <message>
        <source>保存参数</source>
        <translation>Save
parameters</translation>
    </message>
    <message>
        <source>实时位置</source>
        <translation>Live positions</translation>
    </message>
    <message>
        <source>取料X</source>
        <translation>Pick X</translation>
    </message>
    <message>
        <source>取料Y</source>
        <translation>Pick Y</translation>
    </message>
    <message>
        <source>取料Z</source>
        <translation>Pick Z</translation>
    </message>
    <message>
        <source>取料Q</source>
        <translation>Pick Q</translation>
    </message>
    <message>
        <source>NG Z</source>
        <translation>NG Z</translation>
    </message>
    <message>
        <source>标定速度设置</source>
        <translation>Calibration speeds</translation>
    </message>
    <message>
        <source>取料X速度</source>
        <translation>Pick X speed</translation>
    </message>
    <message>
        <source>取料Y速度</source>
        <translation>Pick Y speed</translation>
    </message>
    <message>
        <source>取料Z快速</source>
        <translation>Pick Z fast</translation>
    </message>
    <message>
        <source>取料Q慢速</source>
        <translation>Pick Q slow</translation>
    </message>
    <message>
        <source>9点标定位置</source>
        <translation>9-point calibration positions</translation>
    </message>
    <message>
        <source>X</source>
        <translation>X</translation>
    </message>
    <message>
        <source>Y</source>
        <translation>Y</translation>
    </message>
    <message>
        <source>Z</source>
        <translation>Z</translation>
    </message>
    <message>
        <source>料号</source>
        <translation>Cell</translation>
    </message>
    <message>
        <source>上相机组装拍照中心</source>
        <translation>Upper camera assembly photo centre</translation>
    </message>
    <message>
        <source>示教</source>
        <translation>Teach</translation>
    </message>
    <message>
        <source>Z起始GO</source>
        <translation>Z to start GO</translation>
    </message>
    <message>
        <source>XY中点GO</source>
        <translation>XY to centre GO</translation>
    </message>
    <message>
        <source>XY料号GO</source>
        <translation>XY to cell GO</translation>
    </message>
    <message>
        <source>下相机拍照中心点</source>
        <translation>Lower camera photo centre</translation>
    </message>
    <message>
        <source>吸笔取标定片</source>
        <translation>Nozzle picks the calibration plate</translation>
    </message>
    <message>
        <source>XY取GO</source>
        <translation>XY to pick GO</translation>
    </message>
    <message>
        <source>取标定片拍照位</source>
        <translation>Calibration plate photo position</translation>
    </message>
    <message>
        <source>XY拍照GO</source>
        <translation>XY to photo GO</translation>
    </message>
    <message>
        <source>空吸笔拍照位</source>
        <translation>Empty nozzle photo position</translation>
    </message>
    <message>
        <source>Z安全GO</source>
        <translation>Z safe GO</translation>
    </message>
    <message>
        <source>相机返回值</source>
        <translation>Camera results</translation>
    </message>
    <message>
        <source>Q</source>
        <translation>Q</translation>
    </message>
    <message>
        <source>上相机拍照</source>
        <translation>Upper camera photo</translation>
    </message>
    <message>
        <source>9点标定开始</source>
        <translation>9-point calibration start</translation>
    </message>
    <message>
        <source>下相机拍照</source>
        <translation>Lower camera photo</translation>
    </message>
    <message>
        <source>标定</source>
        <translation>Calibration</translation>
    </message>
    <message>
        <source>吸笔角度校准开始</source>
        <translation>Nozzle angle calibration start</translation>
    </message>
    <message>
        <source>关联标定开始</source>
        <translation>Linked calibration start</translation>
    </message>
    <message>
        <source>关联验证开始</source>
        <translation>Linked verification start</translation>
    </message>
    <message>
        <source>空</source>
        <translation>Spare</translation>
    </message>
</context>
<context>
    <name>Form5</name>
    <message>
        <source>功能设置</source>
        <translation>Functions</translation>
    </message>
    <message>
        <source>保存参数</source>
        <translation>Save
parameters</translation>
    </message>
    <message>
        <source>原点速度设置</source>
        <translation>Homing speeds</translation>
    </message>
    <message>
        <source>取料X回原快速</source>
        <translation>Pick X homing fast</translation>
    </message>
    <message>
        <source>取料X回原慢速</source>
        <translation>Pick X homing slow</translation>
    </message>
    <message>
        <source>取料Y回原快速</source>
        <translation>Pick Y homing fast</translation>
    </message>
    <message>
        <source>取料Y回原慢速</source>
        <translation>Pick Y homing slow</translation>
    </message>
    <message>
        <source>取料Z回原快速</source>
        <translation>Pick Z homing fast</translation>
    </message>
    <message>
        <source>取料Z回原慢速</source>
        <translation>Pick Z homing slow</translation>
    </message>
    <message>
        <source>取料Q回原快速</source>
        <translation>Pick Q homing fast</translation>
    </message>
    <message>
        <source>取料Q回原慢速</source>
        <translation>Pick Q homing slow</translation>
    </message>
    <message>
        <source>NG Z回原快速</source>
        <translation>NG Z homing fast</translation>
    </message>
    <message>
        <source>NG Z回原慢速</source>
        <translation>NG Z homing slow</translation>
    </message>
    <message>
        <source>K</source>
        <translation>K</translation>
    </message>
    <message>
        <source>照明灯上电开</source>
        <translation>Work light on at power-up</translation>
    </message>
    <message>
        <source>报警声音屏蔽</source>
        <translation>Alarm sound off</translation>
    </message>
    <message>
        <source>安全门屏蔽</source>
        <translation>Door bypass</translation>
    </message>
    <message>
        <source>取料真空跳过</source>
        <translation>Pick vacuum skip</translation>
    </message>
    <message>
        <source>S型路径</source>
        <translation>Serpentine path</translation>
    </message>
    <message>
        <source>标签拍照屏蔽</source>
        <translation>Label photo bypass</translation>
    </message>
    <message>
        <source>标签视觉NG跳过</source>
        <translation>Skip label vision NG</translation>
    </message>
    <message>
        <source>取料真空屏蔽</source>
        <translation>Pick vacuum bypass</translation>
    </message>
    <message>
        <source>有盘时标签出料屏蔽</source>
        <translation>No label discard while a tray is in</translation>
    </message>
    <message>
        <source>标签抛料启用</source>
        <translation>Label discard on</translation>
    </message>
    <message>
        <source>测高屏蔽</source>
        <translation>Height check bypass</translation>
    </message>
    <message>
        <source>二维码拍照屏蔽</source>
        <translation>QR code photo bypass</translation>
    </message>
    <message>
        <source>镜筒拍照屏蔽</source>
        <translation>Barrel photo bypass</translation>
    </message>
    <message>
        <source>镜筒视觉NG跳过</source>
        <translation>Skip barrel vision NG</translation>
    </message>
    <message>
        <source>角度二次拍照启用</source>
        <translation>Second angle photo on</translation>
    </message>
    <message>
        <source>NG盘有无拍照屏蔽</source>
        <translation>NG tray photo bypass</translation>
    </message>
    <message>
        <source>组装后检查拍照屏蔽</source>
        <translation>Assembly check photo bypass</translation>
    </message>
    <message>
        <source>标签视觉角度屏蔽</source>
        <translation>Label vision angle bypass</translation>
    </message>
    <message>
        <source>镜筒视觉角度屏蔽</source>
        <translation>Barrel vision angle bypass</translation>
    </message>
    <message>
        <source>MES启用</source>
        <translation>MES on</translation>
    </message>
    <message>
        <source>MES NG抛料启用</source>
        <translation>MES NG discard on</translation>
    </message>
    <message>
        <source>联机屏蔽</source>
        <translation>Line link off</translation>
    </message>
    <message>
        <source>保护关闭(危险)</source>
        <translation>Protection off (danger)</translation>
    </message>
    <message>
        <source>皮带线模式</source>
        <translation>Belt line mode</translation>
    </message>
    <message>
        <source>联机模式-皮带线启用</source>
        <translation>Line mode: belt line on</translation>
    </message>
    <message>
        <source>联机模式-皮带线过料</source>
        <translation>Line mode: pass-through</translation>
    </message>
    <message>
        <source>NG盘模式</source>
        <translation>NG tray mode</translation>
    </message>
    <message>
        <source>成品NG放回原位</source>
        <translation>NG products stay in place</translation>
    </message>
    <message>
        <source>成品NG放NG盘</source>
        <translation>NG products to the NG tray</translation>
    </message>
</context>
<context>
    <name>FormMes</name>
    <message>
        <source>MES设置</source>
        <translation>MES settings</translation>
    </message>
    <message>
        <source>MES参数</source>
        <translation>MES parameters</translation>
    </message>
    <message>
        <source>机台ID</source>
        <translation>Machine ID</translation>
    </message>
    <message>
        <source>工位组编号</source>
        <translation>Station group number</translation>
    </message>
    <message>
        <source>MES出站地址</source>
        <translation>MES check-out URL</translation>
    </message>
    <message>
        <source>MES入站地址</source>
        <translation>MES check-in URL</translation>
    </message>
    <message>
        <source>MES测试</source>
        <translation>MES test</translation>
    </message>
    <message>
        <source>测试地址</source>
        <translation>Test URL</translation>
    </message>
    <message>
        <source>发送内容</source>
        <translation>Request body</translation>
    </message>
    <message>
        <source>入站_获取自动MES时数据</source>
        <translation>Check-in: data for automatic MES</translation>
    </message>
    <message>
        <source>出站_获取自动MES时数据</source>
        <translation>Check-out: data for automatic MES</translation>
    </message>
    <message>
        <source>测试发送：本机 TO MES</source>
        <translation>Test send: this machine to MES</translation>
    </message>
    <message>
        <source>MES LOG</source>
        <translation>MES LOG</translation>
    </message>
    <message>
        <source>清除</source>
        <translation>Clear</translation>
    </message>
</context>
<context>
    <name>IoTable</name>
    <message>
        <source>空</source>
        <translation>Spare</translation>
    </message>
    <message>
        <source>急停</source>
        <translation>E-stop</translation>
    </message>
    <message>
        <source>启动</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>暂停</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>报警清除</source>
        <translation>Alarm clear</translation>
    </message>
    <message>
        <source>复位</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>前安全门</source>
        <translation>Front door</translation>
    </message>
    <message>
        <source>后安全门</source>
        <translation>Rear door</translation>
    </message>
    <message>
        <source>左安全门</source>
        <translation>Left door</translation>
    </message>
    <message>
        <source>右安全门</source>
        <translation>Right door</translation>
    </message>
    <message>
        <source>NG换盘</source>
        <translation>NG tray change</translation>
    </message>
    <message>
        <source>供料器报警</source>
        <translation>Feeder alarm</translation>
    </message>
    <message>
        <source>供料器初始化完成</source>
        <translation>Feeder initialised</translation>
    </message>
    <message>
        <source>供料器有料</source>
        <translation>Feeder plate ready</translation>
    </message>
    <message>
        <source>镜筒NG盘光电</source>
        <translation>Barrel NG tray sensor</translation>
    </message>
    <message>
        <source>标签NG盒光电</source>
        <translation>Label NG box sensor</translation>
    </message>
    <message>
        <source>标签NG盒满料光电</source>
        <translation>Label NG box full sensor</translation>
    </message>
    <message>
        <source>成品线进光电</source>
        <translation>Product line entry sensor</translation>
    </message>
    <message>
        <source>成品线出光电</source>
        <translation>Product line exit sensor</translation>
    </message>
    <message>
        <source>成品线缓存位光电</source>
        <translation>Product line buffer position sensor</translation>
    </message>
    <message>
        <source>成品线组装位光电</source>
        <translation>Product line assembly position sensor</translation>
    </message>
    <message>
        <source>空盘线进光电</source>
        <translation>Empty line entry sensor</translation>
    </message>
    <message>
        <source>空盘线出光电</source>
        <translation>Empty line exit sensor</translation>
    </message>
    <message>
        <source>供料器缺料光电</source>
        <translation>Feeder empty sensor</translation>
    </message>
    <message>
        <source>吸笔真空信号</source>
        <translation>Nozzle vacuum sensor</translation>
    </message>
    <message>
        <source>吸笔上位</source>
        <translation>Nozzle up</translation>
    </message>
    <message>
        <source>吸笔下位</source>
        <translation>Nozzle down</translation>
    </message>
    <message>
        <source>NG夹子张开位</source>
        <translation>NG gripper opened</translation>
    </message>
    <message>
        <source>NG夹子夹紧位</source>
        <translation>NG gripper closed</translation>
    </message>
    <message>
        <source>缓存阻挡上位</source>
        <translation>Buffer stopper up</translation>
    </message>
    <message>
        <source>缓存阻挡下位</source>
        <translation>Buffer stopper down</translation>
    </message>
    <message>
        <source>组装阻挡上位</source>
        <translation>Assembly stopper up</translation>
    </message>
    <message>
        <source>组装阻挡下位</source>
        <translation>Assembly stopper down</translation>
    </message>
    <message>
        <source>组装升降上位</source>
        <translation>Assembly lift up</translation>
    </message>
    <message>
        <source>组装升降下位</source>
        <translation>Assembly lift down</translation>
    </message>
    <message>
        <source>NG盘缩回位</source>
        <translation>NG tray retracted</translation>
    </message>
    <message>
        <source>NG盘伸出位</source>
        <translation>NG tray extended</translation>
    </message>
    <message>
        <source>成品线进IN_Ready</source>
        <translation>Product line in IN_Ready</translation>
    </message>
    <message>
        <source>成品线进IN_Busy</source>
        <translation>Product line in IN_Busy</translation>
    </message>
    <message>
        <source>成品线进IN_Beg</source>
        <translation>Product line in IN_Beg</translation>
    </message>
    <message>
        <source>成品线出IN_Ready</source>
        <translation>Product line out IN_Ready</translation>
    </message>
    <message>
        <source>成品线出IN_Recive</source>
        <translation>Product line out IN_Recive</translation>
    </message>
    <message>
        <source>成品线出IN_Compeled</source>
        <translation>Product line out IN_Compeled</translation>
    </message>
    <message>
        <source>空盘线进IN_Ready</source>
        <translation>Empty line in IN_Ready</translation>
    </message>
    <message>
        <source>空盘线进IN_Busy</source>
        <translation>Empty line in IN_Busy</translation>
    </message>
    <message>
        <source>空盘线进IN_Beg</source>
        <translation>Empty line in IN_Beg</translation>
    </message>
    <message>
        <source>空盘线出IN_Ready</source>
        <translation>Empty line out IN_Ready</translation>
    </message>
    <message>
        <source>空盘线出IN_Recive</source>
        <translation>Empty line out IN_Recive</translation>
    </message>
    <message>
        <source>空盘线出IN_Compeled</source>
        <translation>Empty line out IN_Compeled</translation>
    </message>
    <message>
        <source>报警灯红</source>
        <translation>Tower lamp red</translation>
    </message>
    <message>
        <source>报警灯黄</source>
        <translation>Tower lamp yellow</translation>
    </message>
    <message>
        <source>报警灯绿</source>
        <translation>Tower lamp green</translation>
    </message>
    <message>
        <source>报警声音</source>
        <translation>Alarm sound</translation>
    </message>
    <message>
        <source>照明灯</source>
        <translation>Work light</translation>
    </message>
    <message>
        <source>启动按钮灯</source>
        <translation>Start button lamp</translation>
    </message>
    <message>
        <source>暂停按钮灯</source>
        <translation>Pause button lamp</translation>
    </message>
    <message>
        <source>报警清除按钮灯</source>
        <translation>Alarm clear button lamp</translation>
    </message>
    <message>
        <source>复位按钮灯</source>
        <translation>Reset button lamp</translation>
    </message>
    <message>
        <source>NG换盘按钮灯</source>
        <translation>NG tray change button lamp</translation>
    </message>
    <message>
        <source>安全门锁</source>
        <translation>Door lock</translation>
    </message>
    <message>
        <source>上相机同轴光源</source>
        <translation>Upper camera coaxial light</translation>
    </message>
    <message>
        <source>上相机环形光源</source>
        <translation>Upper camera ring light</translation>
    </message>
    <message>
        <source>下相机环形光源</source>
        <translation>Lower camera ring light</translation>
    </message>
    <message>
        <source>供料器初始化</source>
        <translation>Feeder initialise</translation>
    </message>
    <message>
        <source>供料器送料开始</source>
        <translation>Feeder feed start</translation>
    </message>
    <message>
        <source>供料器真空阀</source>
        <translation>Feeder vacuum valve</translation>
    </message>
    <message>
        <source>吸笔真空</source>
        <translation>Nozzle vacuum</translation>
    </message>
    <message>
        <source>吸笔反吹</source>
        <translation>Nozzle blow</translation>
    </message>
    <message>
        <source>吸笔升降</source>
        <translation>Nozzle lift</translation>
    </message>
    <message>
        <source>NG夹子张开</source>
        <translation>NG gripper open</translation>
    </message>
    <message>
        <source>NG夹子夹紧</source>
        <translation>NG gripper close</translation>
    </message>
    <message>
        <source>缓存阻挡上升</source>
        <translation>Buffer stopper raise</translation>
    </message>
    <message>
        <source>缓存阻挡下降</source>
        <translation>Buffer stopper lower</translation>
    </message>
    <message>
        <source>组装阻挡上升</source>
        <translation>Assembly stopper raise</translation>
    </message>
    <message>
        <source>组装阻挡下降</source>
        <translation>Assembly stopper lower</translation>
    </message>
    <message>
        <source>组装升降上升</source>
        <translation>Assembly lift raise</translation>
    </message>
    <message>
        <source>组装升降下降</source>
        <translation>Assembly lift lower</translation>
    </message>
    <message>
        <source>NG盘缩回</source>
        <translation>NG tray retract</translation>
    </message>
    <message>
        <source>NG盘伸出</source>
        <translation>NG tray extend</translation>
    </message>
    <message>
        <source>成品线进OT_Ready</source>
        <translation>Product line in OT_Ready</translation>
    </message>
    <message>
        <source>成品线进OT_Recive</source>
        <translation>Product line in OT_Recive</translation>
    </message>
    <message>
        <source>成品线进OT_Compeled</source>
        <translation>Product line in OT_Compeled</translation>
    </message>
    <message>
        <source>成品线出OT_Ready</source>
        <translation>Product line out OT_Ready</translation>
    </message>
    <message>
        <source>成品线出OT_Busy</source>
        <translation>Product line out OT_Busy</translation>
    </message>
    <message>
        <source>成品线出OT_Beg</source>
        <translation>Product line out OT_Beg</translation>
    </message>
    <message>
        <source>空盘线进OT_Ready</source>
        <translation>Empty line in OT_Ready</translation>
    </message>
    <message>
        <source>空盘线进OT_Recive</source>
        <translation>Empty line in OT_Recive</translation>
    </message>
    <message>
        <source>空盘线进OT_Compeled</source>
        <translation>Empty line in OT_Compeled</translation>
    </message>
    <message>
        <source>空盘线出OT_Ready</source>
        <translation>Empty line out OT_Ready</translation>
    </message>
    <message>
        <source>空盘线出OT_Busy</source>
        <translation>Empty line out OT_Busy</translation>
    </message>
    <message>
        <source>空盘线出OT_Beg</source>
        <translation>Empty line out OT_Beg</translation>
    </message>
</context>
<context>
    <name>Jogct</name>
    <message>
        <source>JOG</source>
        <translation>JOG</translation>
    </message>
    <message>
        <source>轴点动</source>
        <translation>Axis jog</translation>
    </message>
    <message>
        <source>取料X-</source>
        <translation>Pick X-</translation>
    </message>
    <message>
        <source>取X安全</source>
        <translation>Pick X safe</translation>
    </message>
    <message>
        <source>取料X+</source>
        <translation>Pick X+</translation>
    </message>
    <message>
        <source>取料Y-</source>
        <translation>Pick Y-</translation>
    </message>
    <message>
        <source>Y安全</source>
        <translation>Y safe</translation>
    </message>
    <message>
        <source>取料Y+</source>
        <translation>Pick Y+</translation>
    </message>
    <message>
        <source>取料Z-</source>
        <translation>Pick Z-</translation>
    </message>
    <message>
        <source>取料Z安全</source>
        <translation>Pick Z safe</translation>
    </message>
    <message>
        <source>取料Z+</source>
        <translation>Pick Z+</translation>
    </message>
    <message>
        <source>取料Q-</source>
        <translation>Pick Q-</translation>
    </message>
    <message>
        <source>取料Q+</source>
        <translation>Pick Q+</translation>
    </message>
    <message>
        <source>NGZ-</source>
        <translation>NGZ-</translation>
    </message>
    <message>
        <source>NG Z安全</source>
        <translation>NG Z safe</translation>
    </message>
    <message>
        <source>NGZ+</source>
        <translation>NGZ+</translation>
    </message>
    <message>
        <source>速度</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>JOG低速</source>
        <translation>JOG low</translation>
    </message>
    <message>
        <source>JOG中速</source>
        <translation>JOG medium</translation>
    </message>
    <message>
        <source>JOG高速</source>
        <translation>JOG high</translation>
    </message>
    <message>
        <source>手动速度</source>
        <translation>Manual speed</translation>
    </message>
    <message>
        <source>关闭保护</source>
        <translation>Protection off</translation>
    </message>
    <message>
        <source>QLabel{color: rgb(255, 0, 0);}</source>
        <translation>QLabel{color: rgb(255, 0, 0);}</translation>
    </message>
    <message>
        <source>(危险)</source>
        <translation>(danger)</translation>
    </message>
    <message>
        <source>QPushButton:checked{background-color: rgb(0, 255, 0);}</source>
        <translation>QPushButton:checked{background-color: rgb(0, 255, 0);}</translation>
    </message>
    <message>
        <source>气缸 / 输出</source>
        <translation>Cylinder / output</translation>
    </message>
    <message>
        <source>上相机同轴光源</source>
        <translation>Upper camera coaxial light</translation>
    </message>
    <message>
        <source>上相机环形光源</source>
        <translation>Upper camera ring light</translation>
    </message>
    <message>
        <source>下相机环形光源</source>
        <translation>Lower camera ring light</translation>
    </message>
    <message>
        <source>安全门锁</source>
        <translation>Door lock</translation>
    </message>
    <message>
        <source>供料器初始化</source>
        <translation>Feeder initialise</translation>
    </message>
    <message>
        <source>供料器送料开始</source>
        <translation>Feeder feed start</translation>
    </message>
    <message>
        <source>供料器真空阀</source>
        <translation>Feeder vacuum valve</translation>
    </message>
    <message>
        <source>吸笔真空</source>
        <translation>Nozzle vacuum</translation>
    </message>
    <message>
        <source>吸笔破真空</source>
        <translation>Nozzle vacuum break</translation>
    </message>
    <message>
        <source>吸笔升降</source>
        <translation>Nozzle lift</translation>
    </message>
    <message>
        <source>NG夹子张开</source>
        <translation>NG gripper open</translation>
    </message>
    <message>
        <source>NG夹子夹紧</source>
        <translation>NG gripper close</translation>
    </message>
    <message>
        <source>NG盘缩回</source>
        <translation>NG tray retract</translation>
    </message>
    <message>
        <source>NG盘伸出</source>
        <translation>NG tray extend</translation>
    </message>
    <message>
        <source>缓存阻挡上升</source>
        <translation>Buffer stopper raise</translation>
    </message>
    <message>
        <source>缓存阻挡下降</source>
        <translation>Buffer stopper lower</translation>
    </message>
    <message>
        <source>组装阻挡上升</source>
        <translation>Assembly stopper raise</translation>
    </message>
    <message>
        <source>组装阻挡下降</source>
        <translation>Assembly stopper lower</translation>
    </message>
    <message>
        <source>组装升降上升</source>
        <translation>Assembly lift raise</translation>
    </message>
    <message>
        <source>组装升降下降</source>
        <translation>Assembly lift lower</translation>
    </message>
    <message>
        <source>上皮带 成品</source>
        <translation>Upper belt: products</translation>
    </message>
    <message>
        <source>下皮带 空盘</source>
        <translation>Lower belt: empty trays</translation>
    </message>
</context>
<context>
    <name>Login1</name>
    <message>
        <source>用户登录</source>
        <translation>User login</translation>
    </message>
    <message>
        <source>用户名</source>
        <translation>User</translation>
    </message>
    <message>
        <source>技术员</source>
        <translation>Technician</translation>
    </message>
    <message>
        <source>工程师</source>
        <translation>Engineer</translation>
    </message>
    <message>
        <source>系统</source>
        <translation>System</translation>
    </message>
    <message>
        <source>密码</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>请输入密码</source>
        <translation>Enter the password</translation>
    </message>
    <message>
        <source>登录</source>
        <translation>Login</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Logout</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>密码不能为空!</source>
        <translation>The password must not be empty!</translation>
    </message>
    <message>
        <source>登录成功</source>
        <translation>Logged in</translation>
    </message>
    <message>
        <source>密码错误</source>
        <translation>Wrong password</translation>
    </message>
</context>
<context>
    <name>MachineStatus</name>
    <message>
        <source>机台状态</source>
        <translation>Machine status</translation>
    </message>
    <message>
        <source>状态统计</source>
        <translation>State statistics</translation>
    </message>
    <message>
        <source>次数</source>
        <translation>Count</translation>
    </message>
    <message>
        <source>时长</source>
        <translation>Duration</translation>
    </message>
    <message>
        <source>选择时间</source>
        <translation>Choose time</translation>
    </message>
    <message>
        <source>~</source>
        <translation>~</translation>
    </message>
    <message>
        <source>查询</source>
        <translation>Query</translation>
    </message>
    <message>
        <source>今天</source>
        <translation>Today</translation>
    </message>
    <message>
        <source>近3天</source>
        <translation>Last 3 days</translation>
    </message>
    <message>
        <source>近7天</source>
        <translation>Last 7 days</translation>
    </message>
    <message>
        <source>近30天</source>
        <translation>Last 30 days</translation>
    </message>
    <message>
        <source>color: #c0392b;</source>
        <translation>color: #c0392b;</translation>
    </message>
    <message>
        <source>待料</source>
        <translation>Standby</translation>
    </message>
    <message>
        <source>运行</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>复位</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>异常</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>时间格式应为 %1</source>
        <translation>The time format is %1</translation>
    </message>
    <message>
        <source>开始时间须早于结束时间</source>
        <translation>The start must lie before the end</translation>
    </message>
    <message>
        <source>状态数据库无法读取</source>
        <translation>The state database cannot be read</translation>
    </message>
</context>
<context>
    <name>MainCycle</name>
    <message>
        <source>MES提示</source>
        <translation>MES notice</translation>
    </message>
    <message>
        <source>MES已经屏蔽，是否开启？</source>
        <translation>MES is switched off. Switch it on?</translation>
    </message>
</context>
<context>
    <name>MainWindow1</name>
    <message>
        <source>Tavrin</source>
        <translation>Tavrin</translation>
    </message>
    <message>
        <source>回原点未完成</source>
        <translation>Not homed</translation>
    </message>
    <message>
        <source>QLabel{background-color: rgb(255, 0, 0);}</source>
        <translation>QLabel{background-color: rgb(255, 0, 0);}</translation>
    </message>
    <message>
        <source>复位</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>手动/自动</source>
        <translation>Manual/auto</translation>
    </message>
    <message>
        <source>启动</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>暂停</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>报警清除</source>
        <translation>Clear
alarm</translation>
    </message>
    <message>
        <source>工作模式</source>
        <translation>Work mode</translation>
    </message>
    <message>
        <source>空跑模式</source>
        <translation>Dry run</translation>
    </message>
    <message>
        <source>低速自动</source>
        <translation>Low speed auto</translation>
    </message>
    <message>
        <source>中速自动</source>
        <translation>Medium speed auto</translation>
    </message>
    <message>
        <source>高速自动</source>
        <translation>High speed auto</translation>
    </message>
    <message>
        <source>结束生产</source>
        <translation>End
production</translation>
    </message>
    <message>
        <source>保存参数</source>
        <translation>Save
parameters</translation>
    </message>
    <message>
        <source>配方</source>
        <translation>Recipe</translation>
    </message>
    <message>
        <source>系统</source>
        <translation>System</translation>
    </message>
    <message>
        <source>登录</source>
        <translation>Login</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Logout</translation>
    </message>
    <message>
        <source>运行界面</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>取标签盘</source>
        <translation>Label plate</translation>
    </message>
    <message>
        <source>取标签料号</source>
        <translation>Label plate cell</translation>
    </message>
    <message>
        <source>清零</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>镜筒盘</source>
        <translation>Barrel tray</translation>
    </message>
    <message>
        <source>镜筒盘料号</source>
        <translation>Barrel tray cell</translation>
    </message>
    <message>
        <source>NG盘</source>
        <translation>NG tray</translation>
    </message>
    <message>
        <source>NG盘料号</source>
        <translation>NG tray cell</translation>
    </message>
    <message>
        <source>料仓第1层</source>
        <translation>Magazine level 1</translation>
    </message>
    <message>
        <source>料仓1层料号</source>
        <translation>Magazine level 1 cell</translation>
    </message>
    <message>
        <source>料仓第2层</source>
        <translation>Magazine level 2</translation>
    </message>
    <message>
        <source>料仓2层料号</source>
        <translation>Magazine level 2 cell</translation>
    </message>
    <message>
        <source>料仓第3层</source>
        <translation>Magazine level 3</translation>
    </message>
    <message>
        <source>料仓3层料号</source>
        <translation>Magazine level 3 cell</translation>
    </message>
    <message>
        <source>胶合搬运</source>
        <translation>Glue transfer</translation>
    </message>
    <message>
        <source>胶合搬运料号</source>
        <translation>Glue transfer cell</translation>
    </message>
    <message>
        <source>B#1盘</source>
        <translation>B#1 tray</translation>
    </message>
    <message>
        <source>B#1盘料号</source>
        <translation>B#1 tray cell</translation>
    </message>
    <message>
        <source>B#2盘</source>
        <translation>B#2 tray</translation>
    </message>
    <message>
        <source>B#2盘料号</source>
        <translation>B#2 tray cell</translation>
    </message>
    <message>
        <source>B#3盘</source>
        <translation>B#3 tray</translation>
    </message>
    <message>
        <source>B#3盘料号</source>
        <translation>B#3 tray cell</translation>
    </message>
    <message>
        <source>B#NG1盘</source>
        <translation>B#NG1 tray</translation>
    </message>
    <message>
        <source>NG1盘料号</source>
        <translation>NG1 tray cell</translation>
    </message>
    <message>
        <source>B#NG2盘</source>
        <translation>B#NG2 tray</translation>
    </message>
    <message>
        <source>NG2盘料号</source>
        <translation>NG2 tray cell</translation>
    </message>
    <message>
        <source>B#NG3盘</source>
        <translation>B#NG3 tray</translation>
    </message>
    <message>
        <source>NG3盘料号</source>
        <translation>NG3 tray cell</translation>
    </message>
    <message>
        <source>全部清零</source>
        <translation>Clear all</translation>
    </message>
    <message>
        <source>NG退盘</source>
        <translation>NG tray out</translation>
    </message>
    <message>
        <source>NG人工
换盘完成</source>
        <translation>NG tray
changed by hand</translation>
    </message>
    <message>
        <source>生产</source>
        <translation>Production</translation>
    </message>
    <message>
        <source>产量</source>
        <translation>Output</translation>
    </message>
    <message>
        <source>周期</source>
        <translation>Cycle</translation>
    </message>
    <message>
        <source>s</source>
        <translation>s</translation>
    </message>
    <message>
        <source>良率统计</source>
        <translation>Yield statistics</translation>
    </message>
    <message>
        <source>下泡棉OK</source>
        <translation>Lower foam OK</translation>
    </message>
    <message>
        <source>下泡棉NG</source>
        <translation>Lower foam NG</translation>
    </message>
    <message>
        <source>下泡棉良率</source>
        <translation>Lower foam yield</translation>
    </message>
    <message>
        <source>钢片OK</source>
        <translation>Steel sheet OK</translation>
    </message>
    <message>
        <source>钢片NG</source>
        <translation>Steel sheet NG</translation>
    </message>
    <message>
        <source>钢片良率</source>
        <translation>Steel sheet yield</translation>
    </message>
    <message>
        <source>贴附检查OK</source>
        <translation>Attach check OK</translation>
    </message>
    <message>
        <source>贴附检查NG</source>
        <translation>Attach check NG</translation>
    </message>
    <message>
        <source>检查良率</source>
        <translation>Check yield</translation>
    </message>
    <message>
        <source>二维码OK</source>
        <translation>QR code OK</translation>
    </message>
    <message>
        <source>二维码NG</source>
        <translation>QR code NG</translation>
    </message>
    <message>
        <source> 码良率</source>
        <translation> Code yield</translation>
    </message>
    <message>
        <source>上泡棉OK</source>
        <translation>Upper foam OK</translation>
    </message>
    <message>
        <source>上泡棉NG</source>
        <translation>Upper foam NG</translation>
    </message>
    <message>
        <source>上泡棉良率</source>
        <translation>Upper foam yield</translation>
    </message>
    <message>
        <source>标签拍照</source>
        <translation>Label photo</translation>
    </message>
    <message>
        <source>下相机拍照</source>
        <translation>Lower camera photo</translation>
    </message>
    <message>
        <source>组装拍照</source>
        <translation>Assembly photo</translation>
    </message>
    <message>
        <source>组装检查拍照</source>
        <translation>Assembly check photo</translation>
    </message>
    <message>
        <source>二维码拍照</source>
        <translation>QR code photo</translation>
    </message>
    <message>
        <source>镜筒有无检测</source>
        <translation>Barrel presence check</translation>
    </message>
    <message>
        <source>状态显示</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>历史报警</source>
        <translation>Alarm history</translation>
    </message>
    <message>
        <source>组装曲线</source>
        <translation>Assembly curve</translation>
    </message>
    <message>
        <source>log</source>
        <translation>log</translation>
    </message>
    <message>
        <source>打开配方</source>
        <translation>Open recipe</translation>
    </message>
    <message>
        <source>上相机</source>
        <translation>Upper camera</translation>
    </message>
    <message>
        <source>下相机</source>
        <translation>Lower camera</translation>
    </message>
    <message>
        <source>%1：缺少 %2 项</source>
        <translation>%1: %2 entries missing</translation>
    </message>
    <message>
        <source>，%1 行无法读取</source>
        <translation>, %1 lines unreadable</translation>
    </message>
    <message>
        <source>；原文件已另存为 %1</source>
        <translation>; the old file was kept as %1</translation>
    </message>
    <message>
        <source>参数文件不完整</source>
        <translation>Parameter file incomplete</translation>
    </message>
    <message>
        <source>以下文件不完整，缺少的参数保持原值，请检查参数后再保存：
</source>
        <translation>These files are incomplete; missing parameters keep their values. Check the parameters before saving:
</translation>
    </message>
    <message>
        <source>轴手动</source>
        <translation>Axes</translation>
    </message>
    <message>
        <source>IO手动</source>
        <translation>I/O manual</translation>
    </message>
    <message>
        <source>位置设置</source>
        <translation>Positions</translation>
    </message>
    <message>
        <source>皮带线设置</source>
        <translation>Belt lines</translation>
    </message>
    <message>
        <source>标定设置</source>
        <translation>Calibration</translation>
    </message>
    <message>
        <source>功能设置</source>
        <translation>Functions</translation>
    </message>
    <message>
        <source>MES设置</source>
        <translation>MES settings</translation>
    </message>
    <message>
        <source>机台状态</source>
        <translation>Machine status</translation>
    </message>
    <message>
        <source>视觉设置</source>
        <translation>Vision</translation>
    </message>
    <message>
        <source>气缸+轴点动</source>
        <translation>Cylinders + jog</translation>
    </message>
    <message>
        <source>  配方  </source>
        <translation>  Recipe  </translation>
    </message>
    <message>
        <source>  系统  </source>
        <translation>  System  </translation>
    </message>
    <message>
        <source>  登录  </source>
        <translation>  Login  </translation>
    </message>
    <message>
        <source>  退出  </source>
        <translation>  Logout  </translation>
    </message>
    <message>
        <source>打开配方设置文件失败！</source>
        <translation>Opening the recipe setting file failed!</translation>
    </message>
    <message>
        <source>Tavrin    当前配方：</source>
        <translation>Tavrin    Current recipe: </translation>
    </message>
    <message>
        <source>    当前用户：</source>
        <translation>    Current user: </translation>
    </message>
    <message>
        <source>软件即将关闭，请确认是否保存参数。</source>
        <translation>The program is closing. Save the parameters?</translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
    <message>
        <source>手动</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>自动</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>回原点完成</source>
        <translation>Homing done</translation>
    </message>
    <message>
        <source>角度</source>
        <translation>Angle</translation>
    </message>
    <message>
        <source>距离(um)</source>
        <translation>Distance (µm)</translation>
    </message>
    <message>
        <source>角度(°)</source>
        <translation>Angle (°)</translation>
    </message>
</context>
<context>
    <name>Peifang1</name>
    <message>
        <source>配方管理</source>
        <translation>Recipes</translation>
    </message>
    <message>
        <source>返回</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>当前配方：</source>
        <translation>Current recipe:</translation>
    </message>
    <message>
        <source>设为当前配方</source>
        <translation>Make current</translation>
    </message>
    <message>
        <source>新建配方</source>
        <translation>New recipe</translation>
    </message>
    <message>
        <source>复制配方</source>
        <translation>Copy recipe</translation>
    </message>
    <message>
        <source>删除配方</source>
        <translation>Delete recipe</translation>
    </message>
    <message>
        <source>旧配方名：</source>
        <translation>Old recipe name:</translation>
    </message>
    <message>
        <source>新配方名：</source>
        <translation>New recipe name:</translation>
    </message>
    <message>
        <source>配方名修改</source>
        <translation>Rename recipe</translation>
    </message>
    <message>
        <source>切换配方中。。。</source>
        <translation>Switching recipe...</translation>
    </message>
</context>
<context>
    <name>RecipeName</name>
    <message>
        <source>配方名不能为空。</source>
        <translation>The recipe name must not be empty.</translation>
    </message>
    <message>
        <source>配方名前后不能有空格。</source>
        <translation>The recipe name must not begin or end with a space.</translation>
    </message>
    <message>
        <source>配方名太长。</source>
        <translation>The recipe name is too long.</translation>
    </message>
    <message>
        <source>配方名不能含有“..”。</source>
        <translation>The recipe name must not contain "..".</translation>
    </message>
    <message>
        <source>配方名不能是绝对路径。</source>
        <translation>The recipe name must not be an absolute path.</translation>
    </message>
    <message>
        <source>配方名含有不允许的字符“%1”。</source>
        <translation>The recipe name contains the character "%1", which is not allowed.</translation>
    </message>
</context>
<context>
    <name>Recipes</name>
    <message>
        <source>配方“%1”已存在。</source>
        <translation>Recipe "%1" already exists.</translation>
    </message>
    <message>
        <source>配方“%1”不存在。</source>
        <translation>Recipe "%1" does not exist.</translation>
    </message>
    <message>
        <source>新配方名：</source>
        <translation>New recipe name:</translation>
    </message>
    <message>
        <source>配方“%1”创建失败：%2</source>
        <translation>Recipe "%1" could not be created: %2</translation>
    </message>
    <message>
        <source>新建配方</source>
        <translation>New recipe</translation>
    </message>
    <message>
        <source>复制配方</source>
        <translation>Copy recipe</translation>
    </message>
    <message>
        <source>请先选择要复制的配方。</source>
        <translation>Select the recipe to copy first.</translation>
    </message>
    <message>
        <source>-副本</source>
        <translation>-copy</translation>
    </message>
    <message>
        <source>删除配方</source>
        <translation>Delete recipe</translation>
    </message>
    <message>
        <source>请先选择要删除的配方。</source>
        <translation>Select the recipe to delete first.</translation>
    </message>
    <message>
        <source>不能删除当前配方“%1”。</source>
        <translation>The current recipe "%1" cannot be deleted.</translation>
    </message>
    <message>
        <source>不能删除最后一个配方。</source>
        <translation>The last recipe cannot be deleted.</translation>
    </message>
    <message>
        <source>确定删除配方“%1”吗？</source>
        <translation>Delete recipe "%1"?</translation>
    </message>
    <message>
        <source>配方“%1”未能完全删除。</source>
        <translation>Recipe "%1" was not deleted completely.</translation>
    </message>
    <message>
        <source>配方名修改</source>
        <translation>Rename recipe</translation>
    </message>
    <message>
        <source>新配方名与旧配方名相同。</source>
        <translation>The new recipe name equals the old one.</translation>
    </message>
    <message>
        <source>配方“%1”改名失败。</source>
        <translation>Recipe "%1" could not be renamed.</translation>
    </message>
    <message>
        <source>当前配方文件无法写入，配方名未修改。</source>
        <translation>The current-recipe file cannot be written; the recipe name was not changed.</translation>
    </message>
    <message>
        <source>设为当前配方</source>
        <translation>Make current</translation>
    </message>
    <message>
        <source>请先选择配方。</source>
        <translation>Select a recipe first.</translation>
    </message>
    <message>
        <source>配方“%1”没有参数文件。</source>
        <translation>Recipe "%1" has no parameter file.</translation>
    </message>
    <message>
        <source>当前配方文件无法写入，配方未切换。</source>
        <translation>The current-recipe file cannot be written; the recipe was not switched.</translation>
    </message>
</context>
<context>
    <name>Sysset</name>
    <message>
        <source>系统设置</source>
        <translation>System settings</translation>
    </message>
    <message>
        <source>密码修改</source>
        <translation>Change password</translation>
    </message>
    <message>
        <source>选择用户</source>
        <translation>User</translation>
    </message>
    <message>
        <source>技术员</source>
        <translation>Technician</translation>
    </message>
    <message>
        <source>工程师</source>
        <translation>Engineer</translation>
    </message>
    <message>
        <source>系统</source>
        <translation>System</translation>
    </message>
    <message>
        <source>旧密码</source>
        <translation>Old password</translation>
    </message>
    <message>
        <source>新密码</source>
        <translation>New password</translation>
    </message>
    <message>
        <source>修改</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>State</translation>
    </message>
    <message>
        <source>运行步骤</source>
        <translation>Steps</translation>
    </message>
    <message>
        <source>S0</source>
        <translation>S0</translation>
    </message>
    <message>
        <source>S1</source>
        <translation>S1</translation>
    </message>
    <message>
        <source>S2</source>
        <translation>S2</translation>
    </message>
    <message>
        <source>S3</source>
        <translation>S3</translation>
    </message>
    <message>
        <source>S4</source>
        <translation>S4</translation>
    </message>
    <message>
        <source>S10</source>
        <translation>S10</translation>
    </message>
    <message>
        <source>版本信息</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>软件版本</source>
        <translation>Software version</translation>
    </message>
    <message>
        <source>保存参数</source>
        <translation>Save
parameters</translation>
    </message>
    <message>
        <source>返回</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>密码初始化成功！</source>
        <translation>Passwords reset!</translation>
    </message>
    <message>
        <source>密码不能为空！</source>
        <translation>The password must not be empty!</translation>
    </message>
    <message>
        <source>新密码不同！</source>
        <translation>The new passwords differ!</translation>
    </message>
    <message>
        <source>密码错误</source>
        <translation>Wrong password</translation>
    </message>
    <message>
        <source>修改成功</source>
        <translation>Changed</translation>
    </message>
    <message>
        <source>密码文件无法读取！</source>
        <translation>The password file cannot be read!</translation>
    </message>
    <message>
        <source>密码文件写入失败！</source>
        <translation>Writing the password file failed!</translation>
    </message>
</context>
<context>
    <name>Users</name>
    <message>
        <source>技术员</source>
        <translation>Technician</translation>
    </message>
    <message>
        <source>工程师</source>
        <translation>Engineer</translation>
    </message>
    <message>
        <source>系统</source>
        <translation>System</translation>
    </message>
</context>
<context>
    <name>VmPanel</name>
    <message>
        <source>Tavrin 虚拟机 (virtual machine)</source>
        <translation>Tavrin virtual machine</translation>
    </message>
    <message>
        <source>急停按钮：按下锁定，再点一次松开 (latching emergency stop)</source>
        <translation>Latching emergency stop: click to press, click again to release</translation>
    </message>
    <message>
        <source>急停</source>
        <translation>E-stop</translation>
    </message>
    <message>
        <source>按钮 (按住 = 按下, hold to press)</source>
        <translation>Buttons (hold to press)</translation>
    </message>
    <message>
        <source>启动
start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>暂停
stop</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>报警清除
clear</source>
        <translation>Alarm
clear</translation>
    </message>
    <message>
        <source>复位
reset</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>NG换盘
NG tray</source>
        <translation>NG tray
change</translation>
    </message>
    <message>
        <source>Y5 启动按钮灯</source>
        <translation>Y5 start button lamp</translation>
    </message>
    <message>
        <source>Y6 暂停按钮灯</source>
        <translation>Y6 pause button lamp</translation>
    </message>
    <message>
        <source>Y7 报警清除按钮灯</source>
        <translation>Y7 alarm clear button lamp</translation>
    </message>
    <message>
        <source>Y8 复位按钮灯</source>
        <translation>Y8 reset button lamp</translation>
    </message>
    <message>
        <source>Y9 NG换盘按钮灯</source>
        <translation>Y9 NG tray change button lamp</translation>
    </message>
    <message>
        <source>三色灯</source>
        <translation>Signal tower</translation>
    </message>
    <message>
        <source>红 Y0</source>
        <translation>Red Y0</translation>
    </message>
    <message>
        <source>黄 Y1</source>
        <translation>Yellow Y1</translation>
    </message>
    <message>
        <source>绿 Y2</source>
        <translation>Green Y2</translation>
    </message>
    <message>
        <source>蜂鸣器 Y3</source>
        <translation>Buzzer Y3</translation>
    </message>
    <message>
        <source>状态 (state)</source>
        <translation>State</translation>
    </message>
    <message>
        <source>时间 —</source>
        <translation>Time —</translation>
    </message>
    <message>
        <source>控制卡 card</source>
        <translation>Card</translation>
    </message>
    <message>
        <source>CAN 总线</source>
        <translation>CAN bus</translation>
    </message>
    <message>
        <source>节点</source>
        <translation>Node</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>2</source>
        <translation>2</translation>
    </message>
    <message>
        <source>3</source>
        <translation>3</translation>
    </message>
    <message>
        <source>轴 (Axes)</source>
        <translation>Axes</translation>
    </message>
    <message>
        <source>位置为程序的用户单位 (positions in the program's user units)。使能: 驱动器使能; 报警: 伺服报警; 正限/负限: 限位开关; 原点: 原点开关; 已回零: 最近一次回零成功。</source>
        <translation>Positions in the program's user units. Enabled: drive enabled; alarm: servo alarm; EL+/EL-: limit switches; origin: origin switch; homed: the last homing succeeded.</translation>
    </message>
    <message>
        <source>I/O</source>
        <translation>I/O</translation>
    </message>
    <message>
        <source>输入 (inputs)</source>
        <translation>Inputs</translation>
    </message>
    <message>
        <source>输出 (outputs)</source>
        <translation>Outputs</translation>
    </message>
    <message>
        <source>操作面板 (Operator)</source>
        <translation>Operator</translation>
    </message>
    <message>
        <source>安全门 (doors) — 点击开/关 (click to open/close)</source>
        <translation>Doors — click to open/close</translation>
    </message>
    <message>
        <source>灯、光源、供料器 (lamps, lights, feeder)</source>
        <translation>Lamps, lights, feeder</translation>
    </message>
    <message>
        <source>气缸与阀 (cylinders and valves)</source>
        <translation>Cylinders and valves</translation>
    </message>
    <message>
        <source>吸笔 (nozzle)</source>
        <translation>Nozzle</translation>
    </message>
    <message>
        <source>故障注入 (Faults)</source>
        <translation>Faults</translation>
    </message>
    <message>
        <source>轴故障 (axis faults)</source>
        <translation>Axis faults</translation>
    </message>
    <message>
        <source>气缸故障 (cylinder faults)</source>
        <translation>Cylinder faults</translation>
    </message>
    <message>
        <source>总线、控制卡、吸笔 (bus, card, nozzle)</source>
        <translation>Bus, card, nozzle</translation>
    </message>
    <message>
        <source>CAN 节点1 断开 (node 1 lost)</source>
        <translation>CAN node 1 lost</translation>
    </message>
    <message>
        <source>CAN 节点2 断开 (node 2 lost)</source>
        <translation>CAN node 2 lost</translation>
    </message>
    <message>
        <source>CAN 节点3 断开 (node 3 lost)</source>
        <translation>CAN node 3 lost</translation>
    </message>
    <message>
        <source>清除全部故障 (clear all faults)</source>
        <translation>Clear all faults</translation>
    </message>
    <message>
        <source>下次启动无控制卡 (card missing at next start)</source>
        <translation>Card missing at next start</translation>
    </message>
    <message>
        <source>吸笔吸不到料 (nozzle picks nothing)</source>
        <translation>Nozzle picks nothing</translation>
    </message>
    <message>
        <source>等待料盘 idle</source>
        <translation>waiting for a tray</translation>
    </message>
    <message>
        <source>送出 pushing</source>
        <translation>pushing</translation>
    </message>
    <message>
        <source>完成 done</source>
        <translation>done</translation>
    </message>
    <message>
        <source>等待空位 idle</source>
        <translation>waiting for room</translation>
    </message>
    <message>
        <source>接收 pulling</source>
        <translation>pulling</translation>
    </message>
    <message>
        <source>成品线上游</source>
        <translation>Product line upstream</translation>
    </message>
    <message>
        <source>成品线下游</source>
        <translation>Product line downstream</translation>
    </message>
    <message>
        <source>空盘线上游</source>
        <translation>Empty line upstream</translation>
    </message>
    <message>
        <source>空盘线下游</source>
        <translation>Empty line downstream</translation>
    </message>
    <message>
        <source>慢 slow</source>
        <translation>slow</translation>
    </message>
    <message>
        <source>不应答 silent</source>
        <translation>silent</translation>
    </message>
    <message>
        <source>成品线 finished-product belt (upper)</source>
        <translation>Finished-product belt (upper)</translation>
    </message>
    <message>
        <source>空盘线 empty-tray belt (lower)</source>
        <translation>Empty-tray belt (lower)</translation>
    </message>
    <message>
        <source>  ▶ 运行 running</source>
        <translation>  ▶ running</translation>
    </message>
    <message>
        <source>  ■ 停止 stopped</source>
        <translation>  ■ stopped</translation>
    </message>
    <message>
        <source>顶升 lift ▲</source>
        <translation>lift ▲</translation>
    </message>
    <message>
        <source>顶升 lift ▼</source>
        <translation>lift ▼</translation>
    </message>
    <message>
        <source>缓存阻挡</source>
        <translation>Buffer stopper</translation>
    </message>
    <message>
        <source>组装阻挡</source>
        <translation>Assembly stopper</translation>
    </message>
    <message>
        <source>上游 upstream</source>
        <translation>upstream</translation>
    </message>
    <message>
        <source>下游 downstream</source>
        <translation>downstream</translation>
    </message>
    <message>
        <source>→ 本机输入 in</source>
        <translation>→ our input</translation>
    </message>
    <message>
        <source>← 本机输出 out</source>
        <translation>← our output</translation>
    </message>
    <message>
        <source>取料X轴</source>
        <translation>Pick X axis</translation>
    </message>
    <message>
        <source>取料Y轴</source>
        <translation>Pick Y axis</translation>
    </message>
    <message>
        <source>取料Z轴</source>
        <translation>Pick Z axis</translation>
    </message>
    <message>
        <source>取料Q轴</source>
        <translation>Pick Q axis</translation>
    </message>
    <message>
        <source>NG Z轴</source>
        <translation>NG Z axis</translation>
    </message>
    <message>
        <source>成品皮带轴</source>
        <translation>Product belt axis</translation>
    </message>
    <message>
        <source>空盘皮带轴</source>
        <translation>Empty-tray belt axis</translation>
    </message>
    <message>
        <source>空 (无轴)</source>
        <translation>spare (no axis)</translation>
    </message>
    <message>
        <source>镜片1Y轴</source>
        <translation>Lens 1 Y axis</translation>
    </message>
    <message>
        <source>镜片2Y轴</source>
        <translation>Lens 2 Y axis</translation>
    </message>
    <message>
        <source>料仓Z轴</source>
        <translation>Magazine Z axis</translation>
    </message>
    <message>
        <source>吸笔Q轴</source>
        <translation>Nozzle Q axis</translation>
    </message>
    <message>
        <source>吸笔升降</source>
        <translation>Nozzle lift</translation>
    </message>
    <message>
        <source>NG夹子</source>
        <translation>NG gripper</translation>
    </message>
    <message>
        <source>NG盘伸缩</source>
        <translation>NG tray slide</translation>
    </message>
    <message>
        <source>组装定位升降</source>
        <translation>Assembly lift</translation>
    </message>
    <message>
        <source>回零中 homing</source>
        <translation>homing</translation>
    </message>
    <message>
        <source>运动 moving</source>
        <translation>moving</translation>
    </message>
    <message>
        <source>静止 standing</source>
        <translation>standing</translation>
    </message>
    <message>
        <source>伺服报警 (alarm)</source>
        <translation>servo alarm</translation>
    </message>
    <message>
        <source>正限位 (EL+)</source>
        <translation>positive limit (EL+)</translation>
    </message>
    <message>
        <source>负限位 (EL-)</source>
        <translation>negative limit (EL-)</translation>
    </message>
    <message>
        <source>减速停止 (stop)</source>
        <translation>decelerated stop</translation>
    </message>
    <message>
        <source>立即停止 (immediate)</source>
        <translation>immediate stop</translation>
    </message>
    <message>
        <source>急停 (emergency)</source>
        <translation>emergency stop</translation>
    </message>
    <message>
        <source>未使能 (disabled)</source>
        <translation>disabled</translation>
    </message>
    <message>
        <source>回零失败 (homing failed)</source>
        <translation>homing failed</translation>
    </message>
    <message>
        <source>前安全门</source>
        <translation>Front door</translation>
    </message>
    <message>
        <source>后安全门</source>
        <translation>Rear door</translation>
    </message>
    <message>
        <source>左安全门</source>
        <translation>Left door</translation>
    </message>
    <message>
        <source>右安全门</source>
        <translation>Right door</translation>
    </message>
    <message>
        <source>Belts 皮带线</source>
        <translation>Belts</translation>
    </message>
    <message>
        <source>轴</source>
        <translation>Axis</translation>
    </message>
    <message>
        <source>名称 (name)</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>指令位置
command</source>
        <translation>Command</translation>
    </message>
    <message>
        <source>编码器位置
encoder</source>
        <translation>Encoder</translation>
    </message>
    <message>
        <source>状态
state</source>
        <translation>State</translation>
    </message>
    <message>
        <source>使能
enabled</source>
        <translation>Enabled</translation>
    </message>
    <message>
        <source>报警
alarm</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>正限
EL+</source>
        <translation>EL+</translation>
    </message>
    <message>
        <source>负限
EL-</source>
        <translation>EL-</translation>
    </message>
    <message>
        <source>原点
origin</source>
        <translation>Origin</translation>
    </message>
    <message>
        <source>已回零
homed</source>
        <translation>Homed</translation>
    </message>
    <message>
        <source>机械位置 (mm/°)
mechanical</source>
        <translation>Mechanical
(mm/°)</translation>
    </message>
    <message>
        <source>速度 (mm/s)
velocity</source>
        <translation>Velocity
(mm/s)</translation>
    </message>
    <message>
        <source>脉冲当量
pulses/unit</source>
        <translation>Pulses/unit</translation>
    </message>
    <message>
        <source>使能引脚
enable pin</source>
        <translation>Enable pin</translation>
    </message>
    <message>
        <source>停止原因
last stop</source>
        <translation>Last stop</translation>
    </message>
    <message>
        <source>编号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>地址</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>强制</source>
        <translation>Force</translation>
    </message>
    <message>
        <source>强制为 0 或 1, 覆盖传感器 (hold the input at 0 or 1: broken or stuck sensor)</source>
        <translation>Hold the input at 0 or 1: a broken or stuck sensor</translation>
    </message>
    <message>
        <source>覆盖输入: 传感器损坏或卡住 (override the input: broken or stuck sensor)</source>
        <translation>Override the input: a broken or stuck sensor</translation>
    </message>
    <message>
        <source>X%1 门开关 (switch)</source>
        <translation>X%1 door switch</translation>
    </message>
    <message>
        <source>气缸 (cylinder)</source>
        <translation>Cylinder</translation>
    </message>
    <message>
        <source>阀 A</source>
        <translation>Valve A</translation>
    </message>
    <message>
        <source>阀 B</source>
        <translation>Valve B</translation>
    </message>
    <message>
        <source>位置 A→B</source>
        <translation>Position A→B</translation>
    </message>
    <message>
        <source>传感器 A (sensor)</source>
        <translation>Sensor A</translation>
    </message>
    <message>
        <source>传感器 B (sensor)</source>
        <translation>Sensor B</translation>
    </message>
    <message>
        <source>驱动到 A 端的阀 (valve towards end A)</source>
        <translation>Valve towards end A</translation>
    </message>
    <message>
        <source>驱动到 B 端的阀 (valve towards end B)</source>
        <translation>Valve towards end B</translation>
    </message>
    <message>
        <source>单阀, 弹簧复位 (single valve, spring return)</source>
        <translation>Single valve, spring return</translation>
    </message>
    <message>
        <source>吸着标签 (holds a label)</source>
        <translation>Holds a label</translation>
    </message>
    <message>
        <source>伺服报警 alarm</source>
        <translation>Servo alarm</translation>
    </message>
    <message>
        <source>正限位 EL+</source>
        <translation>Limit EL+</translation>
    </message>
    <message>
        <source>负限位 EL-</source>
        <translation>Limit EL-</translation>
    </message>
    <message>
        <source>回零 (homing)</source>
        <translation>Homing</translation>
    </message>
    <message>
        <source>正常 (normal)</source>
        <translation>normal</translation>
    </message>
    <message>
        <source>失败 (fails)</source>
        <translation>fails</translation>
    </message>
    <message>
        <source>不结束 (hangs)</source>
        <translation>hangs</translation>
    </message>
    <message>
        <source>一直寻找 (keeps searching)</source>
        <translation>keeps searching</translation>
    </message>
    <message>
        <source>卡住 (stuck)</source>
        <translation>Stuck</translation>
    </message>
    <message>
        <source>传感器 A 损坏 (broken)</source>
        <translation>Sensor A broken</translation>
    </message>
    <message>
        <source>传感器 B 损坏 (broken)</source>
        <translation>Sensor B broken</translation>
    </message>
    <message>
        <source>只在程序下次启动时生效一次 (takes effect once, at the program's next start)
%1</source>
        <translation>Takes effect once, at the program's next start
%1</translation>
    </message>
    <message>
        <source>已按下
点击松开
(pressed)</source>
        <translation>Pressed
click to
release</translation>
    </message>
    <message>
        <source>急停
E-STOP</source>
        <translation>E-STOP</translation>
    </message>
    <message>
        <source>打开 (open)</source>
        <translation>open</translation>
    </message>
    <message>
        <source>关闭 (closed)</source>
        <translation>closed</translation>
    </message>
    <message>
        <source>时间 %1 s</source>
        <translation>Time %1 s</translation>
    </message>
    <message>
        <source>按下 (pressed)</source>
        <translation>pressed</translation>
    </message>
    <message>
        <source>松开 (released)</source>
        <translation>released</translation>
    </message>
    <message>
        <source>卡 %1</source>
        <translation>card %1</translation>
    </message>
</context>
<context>
    <name>axisct</name>
    <message>
        <source>轴</source>
        <translation>Axis</translation>
    </message>
    <message>
        <source>当前位置:</source>
        <translation>Position:</translation>
    </message>
    <message>
        <source>编码器:</source>
        <translation>Encoder:</translation>
    </message>
    <message>
        <source>负限位</source>
        <translation>Negative limit</translation>
    </message>
    <message>
        <source>正限位</source>
        <translation>Positive limit</translation>
    </message>
    <message>
        <source>近原点</source>
        <translation>Near origin</translation>
    </message>
    <message>
        <source>报警</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>原点完成</source>
        <translation>Homed</translation>
    </message>
    <message>
        <source>寸动</source>
        <translation>Step</translation>
    </message>
    <message>
        <source>寸动GO</source>
        <translation>Step GO</translation>
    </message>
    <message>
        <source>手动速度</source>
        <translation>Manual speed</translation>
    </message>
    <message>
        <source>回原点GO</source>
        <translation>Home GO</translation>
    </message>
    <message>
        <source>JOG-</source>
        <translation>JOG-</translation>
    </message>
    <message>
        <source>JOG+</source>
        <translation>JOG+</translation>
    </message>
    <message>
        <source>上电</source>
        <translation>Power on</translation>
    </message>
    <message>
        <source>下电</source>
        <translation>Power off</translation>
    </message>
    <message>
        <source>取料X轴</source>
        <translation>Pick X axis</translation>
    </message>
    <message>
        <source>取料Y轴</source>
        <translation>Pick Y axis</translation>
    </message>
    <message>
        <source>取料Z轴</source>
        <translation>Pick Z axis</translation>
    </message>
    <message>
        <source>取料Q轴</source>
        <translation>Pick Q axis</translation>
    </message>
    <message>
        <source>NG Z轴</source>
        <translation>NG Z axis</translation>
    </message>
    <message>
        <source>成品皮带轴</source>
        <translation>Product belt axis</translation>
    </message>
    <message>
        <source>空盘皮带轴</source>
        <translation>Empty-tray belt axis</translation>
    </message>
    <message>
        <source>空</source>
        <translation>Spare</translation>
    </message>
    <message>
        <source>镜片1Y轴</source>
        <translation>Lens 1 Y axis</translation>
    </message>
    <message>
        <source>镜片2Y轴</source>
        <translation>Lens 2 Y axis</translation>
    </message>
    <message>
        <source>料仓Z轴</source>
        <translation>Magazine Z axis</translation>
    </message>
    <message>
        <source>吸笔Q轴</source>
        <translation>Nozzle Q axis</translation>
    </message>
</context>
<context>
    <name>ioct</name>
    <message>
        <source>IO手动</source>
        <translation>I/O manual</translation>
    </message>
    <message>
        <source>输入</source>
        <translation>Inputs</translation>
    </message>
    <message>
        <source>输出</source>
        <translation>Outputs</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>State</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
</context>
<context>
    <name>liaocang</name>
    <message>
        <source>测试</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>测试中。。</source>
        <translation>Testing..</translation>
    </message>
    <message>
        <source>结束测试</source>
        <translation>End test</translation>
    </message>
    <message>
        <source>九点标定中。。</source>
        <translation>9-point calibration running..</translation>
    </message>
    <message>
        <source>吸笔零点角度校准中。。</source>
        <translation>Nozzle zero-angle calibration running..</translation>
    </message>
    <message>
        <source>成品线进盘测试中。。</source>
        <translation>Product line infeed test running..</translation>
    </message>
    <message>
        <source>成品线出盘测试中。。</source>
        <translation>Product line outfeed test running..</translation>
    </message>
    <message>
        <source>空盘线进盘测试中。。</source>
        <translation>Empty line infeed test running..</translation>
    </message>
    <message>
        <source>空盘线出盘测试中。。</source>
        <translation>Empty line outfeed test running..</translation>
    </message>
    <message>
        <source>取标签单动测试中。。</source>
        <translation>Label pick single action running..</translation>
    </message>
    <message>
        <source>组装单动测试中。。</source>
        <translation>Assembly single action running..</translation>
    </message>
    <message>
        <source>关联标定中。。</source>
        <translation>Linked calibration running..</translation>
    </message>
    <message>
        <source>关联精度验证中。。</source>
        <translation>Linked verification running..</translation>
    </message>
    <message>
        <source>标签抛料单动。。</source>
        <translation>Label discard single action..</translation>
    </message>
</context>
<context>
    <name>zhou</name>
    <message>
        <source>轴手动</source>
        <translation>Axes</translation>
    </message>
</context>
</TS>