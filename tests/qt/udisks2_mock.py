'''A stand-in for the desktop's disk service on a private bus, for the drive table's tests.

Drives are added and media put in and taken out through the mock interface; a medium is a
folder, and mounting it makes that folder its mount point. Failures of mount and unmount are
planted per drive with their error name and message.
'''

import dbus

from dbusmock import MOCK_IFACE, OBJECT_MANAGER_IFACE
from dbusmock.mockobject import objects

BUS_NAME = 'org.freedesktop.UDisks2'
MAIN_OBJ = '/org/freedesktop/UDisks2'
SYSTEM_BUS = True
IS_OBJECT_MANAGER = True

DRIVE = 'org.freedesktop.UDisks2.Drive'
BLOCK = 'org.freedesktop.UDisks2.Block'
PARTITION = 'org.freedesktop.UDisks2.Partition'
FILESYSTEM = 'org.freedesktop.UDisks2.Filesystem'


def load(mock, parameters):
    pass


def drive_path(name):
    return f'{MAIN_OBJ}/drives/{name}'


def block_path(name):
    return f'{MAIN_OBJ}/block_devices/{name}'


def byte_string(text):
    return dbus.ByteArray(text.encode() + b'\0')


def added(manager, path, interfaces):
    manager.EmitSignal(OBJECT_MANAGER_IFACE, 'InterfacesAdded', 'oa{sa{sv}}',
                       [dbus.ObjectPath(path),
                        {i: objects[path].props[i] for i in interfaces}])


def removed(manager, path, interfaces):
    manager.EmitSignal(OBJECT_MANAGER_IFACE, 'InterfacesRemoved', 'oas',
                       [dbus.ObjectPath(path), dbus.Array(interfaces, signature='s')])


def new_object(manager, path, interface, props):
    manager.AddObject(path, interface, props, [])
    objects[path].failures = {}
    return objects[path]


def mount(obj, _options):
    failure = obj.failures.get('mount')
    if failure:
        raise dbus.exceptions.DBusException(failure[1], name=failure[0])
    obj.UpdateProperties(FILESYSTEM, {
        'MountPoints': dbus.Array([byte_string(obj.folder)], signature='ay')})
    return obj.folder


def unmount(obj, _options):
    failure = obj.failures.get('unmount')
    if failure:
        raise dbus.exceptions.DBusException(failure[1], name=failure[0])
    obj.UpdateProperties(FILESYSTEM, {'MountPoints': dbus.Array([], signature='ay')})


def drive_props(floppy, removable, bus):
    return {
        'MediaCompatibility': dbus.Array(['floppy'] if floppy else [], signature='s'),
        'MediaAvailable': dbus.Boolean(False),
        'Removable': dbus.Boolean(removable),
        'MediaRemovable': dbus.Boolean(removable),
        'Optical': dbus.Boolean(False),
        'ConnectionBus': dbus.String(bus),
    }


def block_props(name, drive, device):
    return {
        'Device': byte_string(device or f'/dev/{name}'),
        'Drive': dbus.ObjectPath(drive),
        'IdLabel': dbus.String(''),
        'IdType': dbus.String(''),
        'HintIgnore': dbus.Boolean(False),
        'HintSystem': dbus.Boolean(False),
    }


@dbus.service.method(MOCK_IFACE, in_signature='ssbs', out_signature='')
def AddDrive(self, name, kind, removable, device):
    '''A drive: kind "floppy" (with its whole-disk block, no diskette yet), "reader" (a card
    reader, no card yet) or "disk". `device` is the floppy's device node ("" for /dev/NAME).'''
    floppy = kind == 'floppy'
    new_object(self, drive_path(name), DRIVE,
               drive_props(floppy, removable, 'usb' if kind != 'disk' else 'sata'))
    added(self, drive_path(name), [DRIVE])
    if floppy:
        new_object(self, block_path(name), BLOCK, block_props(name, drive_path(name), device))
        added(self, block_path(name), [BLOCK])


@dbus.service.method(MOCK_IFACE, in_signature='sssb', out_signature='')
def InsertMedium(self, name, folder, label, mounted):
    '''A medium with a file system labelled `label` goes into drive `name`; mounting it mounts
    `folder`. A floppy's file system is on its whole disk, a card's on partition NAME1.'''
    drive = objects[drive_path(name)]
    floppy = 'floppy' in drive.props[DRIVE]['MediaCompatibility']
    path = block_path(name if floppy else name + '1')
    if floppy:
        obj = objects[path]
    else:
        obj = new_object(self, path, BLOCK, block_props(name + '1', drive_path(name), ''))
        obj.AddProperties(PARTITION, {'Number': dbus.UInt32(1)})
    obj.UpdateProperties(BLOCK, {'IdLabel': dbus.String(label), 'IdType': dbus.String('vfat')})
    points = [byte_string(folder)] if mounted else []
    obj.AddProperties(FILESYSTEM, {'MountPoints': dbus.Array(points, signature='ay')})
    obj.AddMethod(FILESYSTEM, 'Mount', 'a{sv}', 's', mount)
    obj.AddMethod(FILESYSTEM, 'Unmount', 'a{sv}', '', unmount)
    obj.folder = folder
    drive.UpdateProperties(DRIVE, {'MediaAvailable': dbus.Boolean(True)})
    added(self, path, [FILESYSTEM] if floppy else [BLOCK, PARTITION, FILESYSTEM])


@dbus.service.method(MOCK_IFACE, in_signature='s', out_signature='')
def EjectMedium(self, name):
    '''The medium leaves drive `name`.'''
    drive = objects[drive_path(name)]
    if 'floppy' in drive.props[DRIVE]['MediaCompatibility']:
        obj = objects[block_path(name)]
        obj.props.pop(FILESYSTEM, None)
        obj.methods.pop(FILESYSTEM, None)
        removed(self, block_path(name), [FILESYSTEM])
    else:
        path = block_path(name + '1')
        removed(self, path, [BLOCK, PARTITION, FILESYSTEM])
        self.RemoveObject(path)
    drive.UpdateProperties(DRIVE, {'MediaAvailable': dbus.Boolean(False)})


@dbus.service.method(MOCK_IFACE, in_signature='s', out_signature='')
def RemoveDrive(self, name):
    '''Drive `name` is unplugged, with whatever is in it.'''
    for path in [block_path(name + '1'), block_path(name), drive_path(name)]:
        if path in objects:
            removed(self, path, list(objects[path].props.keys()))
            self.RemoveObject(path)


@dbus.service.method(MOCK_IFACE, in_signature='ssss', out_signature='')
def SetFailure(self, name, operation, error, message):
    '''"mount" or "unmount" of the medium in drive `name` fails with `error` from now on ("" to
    succeed again).'''
    for path in [block_path(name), block_path(name + '1')]:
        if path in objects:
            objects[path].failures[operation] = (error, message) if error else None
