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
    <message>
        <source>第%1行与第%2行的停机时间重叠</source>
        <translation>Rows %1 and %2 overlap.</translation>
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
        <source>计划需要订单计划名称和文件</source>
        <translation>A plan needs an order plan name and a program.</translation>
    </message>
    <message>
        <source>%2 已有计划 %1，请换一个名称</source>
        <translation>%2 already has a plan %1: choose another name.</translation>
    </message>
    <message>
        <source>计划 %1 的数量 %2 超过上限 %3</source>
        <translation>Plan %1: the quantity %2 is above the maximum %3.</translation>
    </message>
    <message>
        <source>计划 %1 没有设置数量的设备</source>
        <translation>Plan %1 has no machine with a quantity.</translation>
    </message>
    <message>
        <source>提示百分比必须是 0 到 100 之间的整数</source>
        <translation>Notify at (%) must be a whole number from 0 to 100.</translation>
    </message>
    <message>
        <source>计划已在另一个看板上被修改，现在显示的是已保存的计划。</source>
        <translation>The plan was changed on another board; the stored plans are shown now.</translation>
    </message>
    <message>
        <source>（数据库拒绝了修改）</source>
        <translation> (the database refused the change)</translation>
    </message>
    <message>
        <source>数据库服务器无法连接，修改不能保存；请在连接恢复后重试。</source>
        <translation>The database server cannot be reached, so the change cannot be saved; try again when it is back.</translation>
    </message>
    <message>
        <source>数据库服务器连接中断：看板显示最后的数据，产量暂存内存，连接恢复后写入</source>
        <translation>Database server lost: the board shows the last data; production is kept in memory and stored once it is back</translation>
    </message>
    <message>
        <source>计划 %1 已在另一个看板上被删除，现在显示的是已保存的计划。</source>
        <translation>Plan %1 was deleted on another board; the stored plans are shown now.</translation>
    </message>
    <message>
        <source>%2 没有计划 %1</source>
        <translation>%2 has no plan %1</translation>
    </message>
    <message>
        <source>计划 %1 未能修改</source>
        <translation>Plan %1 could not be changed</translation>
    </message>
    <message>
        <source>计划 %1 未能删除</source>
        <translation>Plan %1 could not be deleted</translation>
    </message>
    <message>
        <source>（数据库文件已被移走或替换：请恢复文件或重新启动）</source>
        <translation> (the database file was moved or replaced: restore it or restart)</translation>
    </message>
    <message>
        <source>（数据库为只读，无法写入）</source>
        <translation> (the database is read-only)</translation>
    </message>
    <message>
        <source>计划 %1 未能保存</source>
        <translation>Plan %1 could not be saved</translation>
    </message>
    <message>
        <source>停机时段未能保存</source>
        <translation>The downtime could not be saved</translation>
    </message>
    <message>
        <source>工作时间未能保存</source>
        <translation>The shift hours could not be saved</translation>
    </message>
    <message>
        <source>修改未保存，原有设置保持不变。
%1</source>
        <translation>The change was not saved; the settings stay as they were.
%1</translation>
    </message>
</context>
</TS>
