<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>YmHostDatabase</name>
    <message>
        <source>注塑车间</source>
        <translation>Moulding hall</translation>
    </message>
    <message>
        <source>冲压车间</source>
        <translation>Press hall</translation>
    </message>
    <message>
        <source>机加车间</source>
        <translation>Machining hall</translation>
    </message>
    <message>
        <source>装配车间</source>
        <translation>Assembly hall</translation>
    </message>
    <message>
        <source>%1号机</source>
        <translation>Machine %1</translation>
    </message>
    <message>
        <source>午休</source>
        <translation>Lunch break</translation>
    </message>
</context>
<context>
    <name>YmStopPeriodsDialog</name>
    <message>
        <source>计划停机项设置</source>
        <translation>Planned downtime</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>开始时间</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>结束时间</source>
        <translation>End</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>停机</source>
        <translation>Downtime</translation>
    </message>
    <message>
        <source>第%1行：名称不能为空</source>
        <translation>Row %1: enter a name.</translation>
    </message>
    <message>
        <source>第%1行：时间格式应为 HH:mm</source>
        <translation>Row %1: write times as HH:mm.</translation>
    </message>
    <message>
        <source>第%1行：结束时间必须晚于开始时间</source>
        <translation>Row %1: the end must be after the start.</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
</context>
<context>
    <name>YmWorkHoursDialog</name>
    <message>
        <source>计划上下班时间设置</source>
        <translation>Shift hours</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>上班时间</source>
        <translation>Shift starts</translation>
    </message>
    <message>
        <source>下班时间</source>
        <translation>Shift ends</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>下班时间必须晚于上班时间</source>
        <translation>The shift must end after it starts.</translation>
    </message>
</context>
<context>
    <name>YmWorkshopHost</name>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>修改未保存，计划保持原样。
%1</source>
        <translation>The change was not saved; the plan stays as it was.
%1</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>数据库服务器连接中断：看板显示最后的数据，产量暂存内存，连接恢复后写入</source>
        <translation>Connection to the database server lost: the board shows the last data; production is kept in memory and written when the connection returns</translation>
    </message>
</context>
</TS>
